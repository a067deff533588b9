#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>

#include "headless_host/driving/callbacks.h"
#include "headless_host/suites/host_suites.h"
#include "headless_host/tests/project_fixture.h"

namespace knotwell::host {
namespace {

using StreamSuiteTest = ProjectTest;

TEST_F(StreamSuiteTest, ValuesComeBeforeOrAfterExpressions) {
    fx_->SetExpression(kAmount, [](project::Ticks time, const project::StreamValue& pre) -> project::StreamValue {
        return std::get<double>(pre) * 10 + time;
    });
    AEGP_EffectRefH self = NewSelf();
    AEGP_StreamRefH amount = NewParamStream(self, kAmount);
    EXPECT_EQ(ReadNumber(amount, 2, true), 5);
    EXPECT_EQ(ReadNumber(amount, 2, false), 52);
    StreamSuite().AEGP_DisposeStream(amount);
    EffectSuite().AEGP_DisposeEffect(self);
    EXPECT_EQ(ReportAfterShutdown(), "");
}

TEST_F(StreamSuiteTest, SetValueKeysAKeyedStreamAtTheCurrentTimeAndElseTheValue) {
    struct Case {
        PF_ParamIndex index;
        bool keyed;
        std::size_t keys_after;
    };
    for (const Case& c : {Case{kAmount, false, 0}, Case{kAmount, true, 3}, Case{kMode, false, 0}}) {
        project::Stream& stream = fx_->Stream(c.index);
        if (c.keyed) {
            fx_->SetKeyframe(c.index, 0, 0.0);
            fx_->SetKeyframe(c.index, 8, 8.0);
        }
        project().SetCurrentTime(4);
        AEGP_EffectRefH self = NewSelf();
        AEGP_StreamRefH param = NewParamStream(self, c.index);
        AEGP_StreamValue2 value = NewValue(param, 0);
        value.val.one_d = 3;
        EXPECT_EQ(StreamSuite().AEGP_SetStreamValue(id_, param, &value), PF_Err_NONE);
        StreamSuite().AEGP_DisposeStreamValue(&value);
        StreamSuite().AEGP_DisposeStream(param);
        EffectSuite().AEGP_DisposeEffect(self);

        EXPECT_EQ(stream.Keys().size(), c.keys_after) << c.index;
        EXPECT_EQ(std::get<double>(stream.ValueAt(4)), 3) << c.index;
        EXPECT_EQ(std::get<double>(stream.ValueAt(0)), c.keyed ? 0 : 3) << c.index;
    }
    EXPECT_THROW(fx_->SetKeyframe(kMode, 0, 1.0), std::invalid_argument);
    EXPECT_EQ(ReportAfterShutdown(), "");
}

TEST_F(StreamSuiteTest, OnlyARealChangeCountsForRenderingAndParameterState) {
    PF_State state{};
    ASSERT_EQ(ParamUtilsSuite().PF_GetCurrentState(fx_->effect_ref(), &state), PF_Err_NONE);
    const long changes = project().changes();
    AEGP_EffectRefH self = NewSelf();
    AEGP_StreamRefH amount = NewParamStream(self, kAmount);
    AEGP_StreamValue2 value = NewValue(amount, 0);
    PF_Boolean changed = true;

    EXPECT_EQ(StreamSuite().AEGP_SetStreamValue(id_, amount, &value), PF_Err_NONE);
    EXPECT_EQ(project().changes(), changes);
    ParamUtilsSuite().PF_HasParamChanged(fx_->effect_ref(), &state, kAmount, &changed);
    EXPECT_FALSE(changed);

    value.val.one_d = 6;
    EXPECT_EQ(StreamSuite().AEGP_SetStreamValue(id_, amount, &value), PF_Err_NONE);
    EXPECT_EQ(project().changes(), changes + 1);
    ParamUtilsSuite().PF_HasParamChanged(fx_->effect_ref(), &state, kAmount, &changed);
    EXPECT_TRUE(changed);

    StreamSuite().AEGP_DisposeStreamValue(&value);
    StreamSuite().AEGP_DisposeStream(amount);
    EffectSuite().AEGP_DisposeEffect(self);
}

TEST_F(StreamSuiteTest, OutlineValuesAreHostCopiesUntilSet) {
    project().AddMask(*layer_, Square(10));
    AEGP_StreamRefH outline = NewMaskStream(0);
    AEGP_StreamValue2 value = NewValue(outline, 0);
    const AEGP_MaskVertex moved{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(MaskOutlineSuite().AEGP_SetMaskOutlineVertexInfo(value.val.mask, 2, &moved), PF_Err_NONE);
    const auto shape = [&] { return std::get<project::MaskOutline>(layer_->masks[0].outline.ValueAt(0)); };
    EXPECT_EQ(shape().vertices[2].x, 10);

    EXPECT_EQ(StreamSuite().AEGP_SetStreamValue(id_, outline, &value), PF_Err_NONE);
    EXPECT_EQ(shape().vertices[2].tan_out_y, 6);
    StreamSuite().AEGP_DisposeStreamValue(&value);
    StreamSuite().AEGP_DisposeStream(outline);
    EXPECT_EQ(ReportAfterShutdown(), "");
}

TEST_F(StreamSuiteTest, OutlinesAnswerWithinTheirVertices) {
    struct Case {
        project::MaskOutline outline;
        A_Boolean open;
        A_long segments;
    };
    project::MaskOutline open_square = Square(4);
    open_square.open = true;
    const Case cases[] = {{Square(4), false, 4}, {open_square, true, 3}, {{{}, true}, false, 0}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        project().AddMask(*layer_, cases[i].outline);
        AEGP_StreamRefH stream = NewMaskStream(i);
        AEGP_StreamValue2 value = NewValue(stream, 0);
        A_Boolean open = 2;
        A_long segments = -1;
        AEGP_MaskVertex vertex{};
        MaskOutlineSuite().AEGP_IsMaskOutlineOpen(value.val.mask, &open);
        MaskOutlineSuite().AEGP_GetMaskOutlineNumSegments(value.val.mask, &segments);
        EXPECT_EQ(open, cases[i].open) << i;
        EXPECT_EQ(segments, cases[i].segments) << i;
        const auto count = static_cast<A_long>(cases[i].outline.vertices.size());
        EXPECT_EQ(MaskOutlineSuite().AEGP_GetMaskOutlineVertexInfo(value.val.mask, count, &vertex),
                  PF_Err_INVALID_INDEX);
        EXPECT_EQ(MaskOutlineSuite().AEGP_SetMaskOutlineVertexInfo(value.val.mask, -1, &vertex),
                  PF_Err_INVALID_INDEX);
        StreamSuite().AEGP_DisposeStreamValue(&value);
        StreamSuite().AEGP_DisposeStream(stream);
    }
    AEGP_MaskRefH mask = nullptr;
    EXPECT_EQ(LayerMaskSuite().AEGP_GetLayerMaskByIndex(Layer(), 3, &mask), PF_Err_INVALID_INDEX);
    EXPECT_EQ(ReportAfterShutdown(), "");
}

TEST_F(StreamSuiteTest, HiddenFlagHidesAParameterOnly) {
    AEGP_EffectRefH self = NewSelf();
    AEGP_StreamRefH where = NewParamStream(self, kWhere);
    EXPECT_EQ(DynamicStreamSuite().AEGP_SetDynamicStreamFlag(where, AEGP_DynStreamFlag_HIDDEN, false, true),
              PF_Err_NONE);
    EXPECT_TRUE(fx_->ui(kWhere).hidden);
    project().AddMask(*layer_, Square(1));
    AEGP_StreamRefH outline = NewMaskStream(0);
    EXPECT_NE(DynamicStreamSuite().AEGP_SetDynamicStreamFlag(outline, AEGP_DynStreamFlag_HIDDEN, false, true),
              PF_Err_NONE);
    for (PF_ParamIndex outside : {0, 4}) {
        AEGP_StreamRefH none = nullptr;
        EXPECT_EQ(StreamSuite().AEGP_GetNewEffectStreamByIndex(id_, self, outside, &none), PF_Err_INVALID_INDEX);
    }
    StreamSuite().AEGP_DisposeStream(outline);
    StreamSuite().AEGP_DisposeStream(where);
    EffectSuite().AEGP_DisposeEffect(self);
}

using KeyframeSuiteTest = ProjectTest;

// A batch's keys arrive all or none, and its end gives the batch back even
// when it fails.
TEST_F(KeyframeSuiteTest, EndWithAddCommitsAllKeysOrNone) {
    fx_->SetKeyframe(kAmount, 6, 1.0);
    struct Case {
        const char* name;
        bool add;
        bool end_fails;
        double second_value;
        bool committed;
    };
    const Case cases[] = {
        {"ended without add", false, false, 60, false},
        {"a refused end", true, true, 60, false},
        {"a key the stream refuses", true, false, std::numeric_limits<double>::quiet_NaN(), false},
        {"ended with add", true, false, 60, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AEGP_EffectRefH self = NewSelf();
        AEGP_StreamRefH amount = NewParamStream(self, kAmount);
        AEGP_AddKeyframesInfoH batch = nullptr;
        ASSERT_EQ(KeyframeSuite().AEGP_StartAddKeyframes(amount, &batch), PF_Err_NONE);
        for (const A_long time : {2, 6}) {
            const A_Time at{time, 30};
            A_long index = -1;
            ASSERT_EQ(KeyframeSuite().AEGP_AddKeyframes(batch, AEGP_LTimeMode_LayerTime, &at, &index), PF_Err_NONE);
            AEGP_StreamValue2 value{};
            value.val.one_d = time == 2 ? 20 : c.second_value;
            EXPECT_EQ(KeyframeSuite().AEGP_SetAddKeyframe(batch, index, &value), PF_Err_NONE);
        }
        AEGP_StreamValue2 value{};
        EXPECT_EQ(KeyframeSuite().AEGP_SetAddKeyframe(batch, 2, &value), PF_Err_INVALID_INDEX);
        if (c.end_fails) host_.faults().fail_named["AEGP_EndAddKeyframes"] = 1234;
        const A_Err ended = KeyframeSuite().AEGP_EndAddKeyframes(c.add, batch);
        host_.faults().fail_named.clear();
        EXPECT_EQ(ended == PF_Err_NONE, c.committed || !c.add);
        StreamSuite().AEGP_DisposeStream(amount);
        EffectSuite().AEGP_DisposeEffect(self);

        const auto& keys = fx_->Stream(kAmount).Keys();
        ASSERT_EQ(keys.size(), c.committed ? 2u : 1u);
        EXPECT_EQ(std::get<double>(keys.at(6)), c.committed ? 60 : 1);
    }
    // The refusals are on record; no batch is left open.
    const std::string report = ReportAfterShutdown();
    EXPECT_EQ(report.find("leaked"), std::string::npos) << report;
}

TEST_F(KeyframeSuiteTest, ABatchNeverEndedIsALeakAndInvariantStreamsTakeNone) {
    AEGP_EffectRefH self = NewSelf();
    AEGP_StreamRefH amount = NewParamStream(self, kAmount);
    AEGP_StreamRefH mode = NewParamStream(self, kMode);
    AEGP_AddKeyframesInfoH batch = nullptr;
    EXPECT_NE(KeyframeSuite().AEGP_StartAddKeyframes(mode, &batch), PF_Err_NONE);
    EXPECT_EQ(KeyframeSuite().AEGP_StartAddKeyframes(amount, &batch), PF_Err_NONE);
    StreamSuite().AEGP_DisposeStream(mode);
    StreamSuite().AEGP_DisposeStream(amount);
    EffectSuite().AEGP_DisposeEffect(self);
    const std::string report = host_.LeakReport();
    EXPECT_NE(report.find("cannot vary in time"), std::string::npos) << report;
    EXPECT_NE(report.find("leaked keyframe batch"), std::string::npos) << report;
}

using ReferenceTest = ProjectTest;

TEST_F(ReferenceTest, MisusedReferencesAreRefusedAndRecorded) {
    project().AddMask(*layer_, Square(1));
    AEGP_MaskRefH mask = nullptr;
    ASSERT_EQ(LayerMaskSuite().AEGP_GetLayerMaskByIndex(Layer(), 0, &mask), PF_Err_NONE);
    AEGP_EffectRefH self = NewSelf();
    ASSERT_EQ(EffectSuite().AEGP_DisposeEffect(self), PF_Err_NONE);
    int foreign = 0;

    struct Case {
        const char* what;
        A_Err result;
        const char* fault;
    };
    const Case cases[] = {
        {"double dispose", EffectSuite().AEGP_DisposeEffect(self), "was already disposed"},
        {"foreign", StreamSuite().AEGP_DisposeStream(reinterpret_cast<AEGP_StreamRefH>(&foreign)),
         "was never handed out"},
        {"wrong kind", StreamSuite().AEGP_DisposeStream(reinterpret_cast<AEGP_StreamRefH>(mask)),
         "is a mask ref, not a stream"},
        {"unknown plug-in id",
         PFInterfaceSuite().AEGP_GetNewEffectForEffect(id_ + 7, fx_->effect_ref(), &self), "was never handed out"},
    };
    ASSERT_EQ(host_.ledger().Faults().size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(cases[i].result, PF_Err_BAD_CALLBACK_PARAM) << cases[i].what;
        EXPECT_NE(host_.ledger().Faults()[i].find(cases[i].fault), std::string::npos) << host_.ledger().Faults()[i];
    }
    EXPECT_NE(host_.LeakReport().find("leaked mask ref"), std::string::npos);
    LayerMaskSuite().AEGP_DisposeMask(mask);
}

TEST_F(ReferenceTest, UndisposedValuesAndStreamsAreLeaks) {
    AEGP_EffectRefH self = NewSelf();
    AEGP_StreamRefH amount = NewParamStream(self, kAmount);
    NewValue(amount, 0);
    const std::string report = host_.LeakReport();
    for (const char* kind : {"leaked effect ref", "leaked stream ", "leaked stream value"}) {
        EXPECT_NE(report.find(kind), std::string::npos) << kind << " in " << report;
    }
}

TEST_F(ReferenceTest, AGiveBackMadeToFailStillGivesBack) {
    project().AddMask(*layer_, Square(1));
    AEGP_MaskRefH mask = nullptr;
    ASSERT_EQ(LayerMaskSuite().AEGP_GetLayerMaskByIndex(Layer(), 0, &mask), PF_Err_NONE);
    AEGP_EffectRefH self = NewSelf();
    AEGP_StreamRefH amount = NewParamStream(self, kAmount);
    AEGP_StreamValue2 value = NewValue(amount, 0);
    const PF_InteractCallbacks callbacks = InteractCallbacks();
    PF_ParamDef param{};
    ASSERT_EQ(callbacks.checkout_param(fx_->effect_ref(), kAmount, 0, 1, 30, &param), PF_Err_NONE);

    constexpr PF_Err kFailed = 1234;
    for (const char* call : {"AEGP_DisposeStreamValue", "AEGP_DisposeStream", "AEGP_DisposeEffect",
                             "AEGP_DisposeMask", "checkin_param"}) {
        host_.faults().fail_named[call] = kFailed;
    }
    EXPECT_EQ(StreamSuite().AEGP_DisposeStreamValue(&value), kFailed);
    EXPECT_EQ(StreamSuite().AEGP_DisposeStream(amount), kFailed);
    EXPECT_EQ(EffectSuite().AEGP_DisposeEffect(self), kFailed);
    EXPECT_EQ(LayerMaskSuite().AEGP_DisposeMask(mask), kFailed);
    EXPECT_EQ(callbacks.checkin_param(fx_->effect_ref(), &param), kFailed);
    EXPECT_EQ(ReportAfterShutdown(), "");
}

using EffectSuiteTest = ProjectTest;

TEST_F(EffectSuiteTest, InstalledEffectsAreTheLoadedLibrariesInLoadOrder) {
    host_.Load(legacy_);
    A_long count = 0;
    EffectSuite().AEGP_GetNumInstalledEffects(&count);
    EXPECT_EQ(count, 2);
    AEGP_InstalledEffectKey key = AEGP_InstalledEffectKey_NONE;
    std::vector<std::string> names;
    for (EffectSuite().AEGP_GetNextInstalledEffect(key, &key); key != AEGP_InstalledEffectKey_NONE;
         EffectSuite().AEGP_GetNextInstalledEffect(key, &key)) {
        char name[AEGP_MAX_EFFECT_NAME_SIZE];
        ASSERT_EQ(EffectSuite().AEGP_GetEffectName(key, name), PF_Err_NONE);
        names.emplace_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Current", "Legacy"}));
    char name[AEGP_MAX_EFFECT_NAME_SIZE];
    EXPECT_NE(EffectSuite().AEGP_GetEffectName(3, name), PF_Err_NONE);
}

TEST_F(EffectSuiteTest, ApplyEffectAppendsASetUpInstance) {
    const long changes = project().changes();
    AEGP_EffectRefH applied = nullptr;
    ASSERT_EQ(EffectSuite().AEGP_ApplyEffect(id_, Layer(), 1, &applied), PF_Err_NONE);
    A_long count = 0;
    EffectSuite().AEGP_GetLayerNumEffects(Layer(), &count);
    ASSERT_EQ(count, 2);
    EXPECT_GT(project().changes(), changes);

    EffectInstance& instance = project().Instance(*layer_, 1);
    for (const Reply& reply : instance.setup_replies()) EXPECT_EQ(reply.err, PF_Err_NONE);
    EXPECT_EQ(instance.ParamAt(kAmount, 0).u.sd.value, 5);
    AEGP_InstalledEffectKey key = 0;
    EffectSuite().AEGP_GetInstalledKeyFromLayerEffect(applied, &key);
    EXPECT_EQ(key, 1);
    EXPECT_EQ(EffectSuite().AEGP_DisposeEffect(applied), PF_Err_NONE);
    AEGP_EffectRefH beyond = nullptr;
    EXPECT_EQ(EffectSuite().AEGP_GetLayerEffectByIndex(id_, Layer(), 2, &beyond), PF_Err_INVALID_INDEX);
}

TEST_F(EffectSuiteTest, FlagsChangeOnlyUnderTheMask) {
    AEGP_EffectRefH self = NewSelf();
    struct Case {
        AEGP_EffectFlags mask;
        AEGP_EffectFlags flags;
        AEGP_EffectFlags after;
    };
    for (const Case& c : {Case{AEGP_EffectFlags_NONE, AEGP_EffectFlags_NONE, AEGP_EffectFlags_ACTIVE},
                          Case{AEGP_EffectFlags_ACTIVE, AEGP_EffectFlags_NONE, AEGP_EffectFlags_NONE},
                          Case{AEGP_EffectFlags_ACTIVE, AEGP_EffectFlags_ACTIVE, AEGP_EffectFlags_ACTIVE}}) {
        EXPECT_EQ(EffectSuite().AEGP_SetEffectFlags(self, c.mask, c.flags), PF_Err_NONE);
        AEGP_EffectFlags flags = -1;
        EffectSuite().AEGP_GetEffectFlags(self, &flags);
        EXPECT_EQ(flags, c.after);
    }
    EffectSuite().AEGP_DisposeEffect(self);
}

}  // namespace
}  // namespace knotwell::host
