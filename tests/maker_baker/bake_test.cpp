// KnotwellBaker's bake, played through the headless host with the real
// plug-ins. The baker's pre-render is sent on its own, so the Knotwell
// instances' controls stay as the test set them.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/support/scene.h"

namespace knotwell::test {
namespace {

using ::testing::ElementsAreArray;

std::vector<Ticks> KeyTimes(const project::Mask& mask) {
    std::vector<Ticks> times;
    for (const auto& [time, value] : mask.outline.Keys()) times.push_back(time);
    return times;
}

// Two masks, a closed one with 4 vertices and an open one with 5.
struct TwoMasks : Scene {
    explicit TwoMasks(std::span<const std::string_view> plugins = kAllPlugins, Ticks duration = 10)
        : Scene(Generation::kCurrent, plugins, duration) {
        AddMask(ClosedFour());
        AddMask(OpenFive());
    }
};

TEST(BakeTest, BakeIndexAndAllDecideWhatIsBaked) {
    struct Case {
        const char* what;
        std::vector<std::string_view> plugins;
        bool masks;
        std::vector<double> drivers;  // the mask each driver drives vertex 0 of
        double index;
        bool all;
        bool execute;
        Ticks duration;
        A_long time_step;
        double bake_after;
        const char* notice;
        std::vector<std::size_t> keys;  // per mask
    };
    const std::vector<std::string_view> all(std::begin(kAllPlugins), std::end(kAllPlugins));
    const char* kNoFrames = "Nothing to bake: the layer has no frames.";
    const Case cases[] = {
        {"idle", all, true, {0, 1}, 0, false, false, 10, 1, kIdle, "", {0, 0}},
        {"no masks", all, false, {}, 0, false, true, 10, 1, kExecute, "", {}},
        {"index past the masks", all, true, {0, 1}, 3, false, true, 10, 1, kExecute, "", {0, 0}},
        {"index past the masks, all on", all, true, {0, 1}, 3, true, true, 10, 1, kIdle, "", {10, 10}},
        {"one mask", all, true, {0, 1}, 1, false, true, 10, 1, kIdle, "", {0, 10}},
        {"a mask without instances", all, true, {0}, 1, false, true, 10, 1, kIdle, "", {0, 0}},
        {"Knotwell not installed", {"KnotwellBaker"}, true, {}, 0, true, true, 10, 1, kExecute, "No Knotwell", {0, 0}},
        {"a layer without frames", all, true, {0, 1}, 0, true, true, 0, 1, kExecute, kNoFrames, {0, 0}},
        {"no frame step", all, true, {0, 1}, 0, true, true, 10, 0, kExecute, kNoFrames, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s(Generation::kCurrent, c.plugins, c.duration);
        s.project().composition().time_step = c.time_step;
        if (c.masks) {
            s.AddMask(ClosedFour());
            s.AddMask(OpenFive());
        }
        std::vector<EffectInstance*> drivers;
        for (const double mask : c.drivers) {
            drivers.push_back(&s.ApplyDriver(mask, 0));
            drivers.back()->SetControl(kKnotwellPoint, 1, 1);
        }
        EffectInstance& baker = s.ApplyBaker(c.index, c.all);
        if (c.execute) baker.SetControl(kBakerBake, kExecute);
        const std::string before = s.Dump();

        const host::FrameReply frame = baker.Render(0);
        EXPECT_EQ(frame.err(), PF_Err_NONE);
        EXPECT_EQ(frame.pre_render.return_msg(), c.notice);
        EXPECT_EQ(frame.pre_render.out.out_flags, 0);
        EXPECT_EQ(Number(baker, kBakerBake), c.bake_after);
        for (std::size_t m = 0; m < c.keys.size(); ++m) {
            EXPECT_EQ(s.mask(m).outline.Keys().size(), c.keys[m]) << "mask " << m;
        }
        for (std::size_t d = 0; d < drivers.size(); ++d) {
            const bool baked = c.keys[static_cast<std::size_t>(c.drivers[d])] > 0;
            EXPECT_EQ(Scene::Active(*drivers[d]), !baked) << "driver " << d;
        }
        if (c.bake_after == (c.execute ? kExecute : kIdle)) {
            EXPECT_EQ(s.Dump(), before) << "nothing is written";
        }
        EXPECT_EQ(s.LeakReportAfterShutdown(), "");
    }
}

TEST(BakeTest, InstancesThatDriveNoVertexOfTheMaskAreIgnoredAndLeftAsTheyAre) {
    struct Case {
        const char* what;
        double index;
        double vertex;
        bool on;
        bool active;
        std::size_t driven_mask;  // 2: none
    };
    const Case cases[] = {
        {"switched off in the effect list", 0, 1, true, false, 2},
        {"following its vertex", 0, 1, false, true, 2},
        {"no mask", -1, 1, true, true, 2},
        {"a mask past the last", 2, 1, true, true, 2},
        {"vertex 4 of the closed mask", 0, 4, true, true, 2},
        {"vertex 9 of the closed mask", 0, 9, true, true, 2},
        {"vertex 4 of the open mask", 1, 4, true, true, 1},
        {"vertex 0 of the closed mask", 0, 0, true, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TwoMasks s;
        EffectInstance& fx = s.ApplyDriver(c.index, c.vertex);
        fx.SetNumber(kKnotwellOn, c.on ? 1 : 0);
        fx.SetControl(kKnotwellPoint, 1, 1);
        if (!c.active) fx.effect().flags = AEGP_EffectFlags_NONE;
        EffectInstance& baker = s.ApplyBaker(0, true);
        baker.SetControl(kBakerBake, kExecute);

        EXPECT_EQ(baker.Render(0).err(), PF_Err_NONE);
        EXPECT_EQ(s.mask(0).outline.Keys().size(), c.driven_mask == 0 ? 10u : 0u);
        EXPECT_EQ(s.mask(1).outline.Keys().size(), c.driven_mask == 1 ? 10u : 0u);
        EXPECT_EQ(Scene::Active(fx), c.active && c.driven_mask == 2);
        EXPECT_EQ(Number(fx, kKnotwellIndex), c.index);
        EXPECT_EQ(Number(fx, kKnotwellNo), c.vertex);
        EXPECT_EQ(Number(fx, kKnotwellOn), c.on ? 1 : 0);
        EXPECT_EQ(Number(baker, kBakerBake), kIdle);
        EXPECT_EQ(s.LeakReportAfterShutdown(), "");
    }
}

TEST(BakeTest, TheLatestInstanceOfAVertexDrivesItAndOnlyItIsSwitchedOff) {
    TwoMasks s;
    EffectInstance& early = s.ApplyDriver(0, 1);
    early.SetControl(kKnotwellPoint, 1, 1);
    EffectInstance& other = s.ApplyDriver(0, 2);
    other.SetControl(kKnotwellPoint, 70, 71);
    EffectInstance& late = s.ApplyDriver(0, 1);
    late.SetControl(kKnotwellPoint, 60, 61);
    EffectInstance& baker = s.ApplyBaker(0, false);
    baker.SetControl(kBakerBake, kExecute);

    EXPECT_EQ(baker.Render(0).err(), PF_Err_NONE);
    MaskOutline expected = ClosedFour();
    expected.vertices[1] = {60, 61, 0, 0, 0, 0};
    expected.vertices[2] = {70, 71, 0, 0, 0, 0};
    for (const auto& [time, key] : s.mask(0).outline.Keys()) {
        EXPECT_EQ(MaxDifference(std::get<MaskOutline>(key), expected), 0.0) << "key at " << time;
    }
    EXPECT_TRUE(Scene::Active(early));
    EXPECT_FALSE(Scene::Active(other));
    EXPECT_FALSE(Scene::Active(late));
}

TEST(BakeTest, TangentsFollowTheFormSymmetryAndTheMaskKind) {
    struct Case {
        const char* what;
        bool roto_bezier;
        double form;
        double symmetric;
        AEGP_TwoDVal tan_in, tan_out;
        double in_radius, in_angle, out_radius, out_angle;
        AEGP_MaskVertex expected;  // the mask's own tangents on a RotoBezier mask
    };
    const Case cases[] = {
        {"polar, symmetric", false, kKnotwellPolar, 1, {1, 2}, {3, 4}, 10, 0, 5, 90, {7, 8, 0, -10, 0, 10}},
        {"polar", false, kKnotwellPolar, 0, {1, 2}, {3, 4}, 10, 90, 5, 180, {7, 8, 10, 0, 0, 5}},
        {"polar, up-left", false, kKnotwellPolar, 0, {1, 2}, {3, 4}, 2, -45, 0, 0,
         {7, 8, -std::sqrt(2.0), -std::sqrt(2.0), 0, 0}},
        {"cartesian, symmetric", false, kKnotwellCartesian, 1, {1, 2}, {3, 4}, 10, 0, 5, 90, {7, 8, 1, 2, 3, 4}},
        {"RotoBezier", true, kKnotwellCartesian, 0, {1, 2}, {3, 4}, 10, 0, 5, 90, {7, 8, 0, 0, 0, 0}},
    };
    // The mask's tangents of vertex 1 change over the layer.
    MaskOutline first = ClosedFour();
    MaskOutline last = ClosedFour();
    last.vertices[1] = {50, 10, 20, 4, -8, 6};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s;
        const project::Mask& mask = s.project().AddMask(s.layer(), {{0, first}, {9, last}}, c.roto_bezier);
        EffectInstance& fx = s.ApplyDriver(0, 1);
        fx.SetControl(kKnotwellPoint, 7, 8);
        fx.SetNumber(kKnotwellCoordinate, c.form);
        fx.SetNumber(kKnotwellSymmetric, c.symmetric);
        fx.SetControl(kKnotwellTanIn, c.tan_in.x, c.tan_in.y);
        fx.SetControl(kKnotwellTanOut, c.tan_out.x, c.tan_out.y);
        fx.SetNumber(kKnotwellTanInRadius, c.in_radius);
        fx.SetNumber(kKnotwellTanInAngle, c.in_angle);
        fx.SetNumber(kKnotwellTanOutRadius, c.out_radius);
        fx.SetNumber(kKnotwellTanOutAngle, c.out_angle);
        std::vector<MaskOutline> own;
        for (Ticks t = 0; t < 10; ++t) own.push_back(ShapeAt(mask, t));
        EffectInstance& baker = s.ApplyBaker(0, false);
        baker.SetControl(kBakerBake, kExecute);

        EXPECT_EQ(baker.Render(0).err(), PF_Err_NONE);
        ASSERT_EQ(mask.outline.Keys().size(), 10u);
        for (Ticks t = 0; t < 10; ++t) {
            MaskOutline expected = own[static_cast<std::size_t>(t)];
            AEGP_MaskVertex& vertex = expected.vertices[1];
            if (c.roto_bezier) {
                vertex.x = c.expected.x;
                vertex.y = c.expected.y;
            } else {
                vertex = c.expected;
            }
            EXPECT_LE(MaxDifference(ShapeAt(mask, t), expected), 1e-9) << "at " << t;
        }
    }
}

TEST(BakeTest, AnExpressionOnPointIsBakedOneOnWhichVertexItDrivesIsNot) {
    struct Case {
        const char* what;
        PF_ParamIndex with_expression;
        project::StreamValue expression_value;  // a constant; Point's depends on the time
    };
    const Case cases[] = {
        {"Point", kKnotwellPoint, AEGP_TwoDVal{}},
        {"Index", kKnotwellIndex, 1.0},
        {"No", kKnotwellNo, 2.0},
        {"ON", kKnotwellOn, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TwoMasks s;
        EffectInstance& fx = s.ApplyDriver(0, 1);
        fx.SetControl(kKnotwellPoint, 7, 8);
        const bool on_point = c.with_expression == kKnotwellPoint;
        fx.SetExpression(c.with_expression, [on_point, value = c.expression_value](Ticks time,
                                                                                   const project::StreamValue&) {
            return on_point ? project::StreamValue(AEGP_TwoDVal{100.0 + time, 2.0 * time}) : value;
        });
        EffectInstance& baker = s.ApplyBaker(0, false);
        baker.SetControl(kBakerBake, kExecute);

        EXPECT_EQ(baker.Render(0).err(), PF_Err_NONE);
        ASSERT_EQ(s.mask(0).outline.Keys().size(), 10u);
        for (Ticks t = 0; t < 10; ++t) {
            MaskOutline expected = ClosedFour();
            expected.vertices[1] = on_point ? AEGP_MaskVertex{100.0 + t, 2.0 * t, 0, 0, 0, 0}
                                            : AEGP_MaskVertex{7, 8, 0, 0, 0, 0};
            EXPECT_EQ(MaxDifference(ShapeAt(s.mask(0), t), expected), 0.0) << "at " << t;
        }
        EXPECT_FALSE(Scene::Active(fx));
    }
}

TEST(BakeTest, OneKeyPerFrameFromZeroUpToTheDuration) {
    struct Case {
        Ticks duration;
        A_long time_step;
        std::vector<Ticks> keys;
    };
    const Case cases[] = {
        {10, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {10, 3, {0, 3, 6, 9}},
        {9, 3, {0, 3, 6}},
        {1, 1, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.duration);
        TwoMasks s(kAllPlugins, c.duration);
        s.project().composition().time_step = c.time_step;
        s.ApplyDriver(0, 0).SetKeyframe(kKnotwellPoint, 0, AEGP_TwoDVal{0, 0});
        EffectInstance& baker = s.ApplyBaker(0, false);
        baker.SetControl(kBakerBake, kExecute);

        EXPECT_EQ(baker.Render(0).err(), PF_Err_NONE);
        EXPECT_THAT(KeyTimes(s.mask(0)), ElementsAreArray(c.keys));
    }
}

TEST(BakeTest, AFailureWhileSamplingCommitsNoKeyAndLeavesTheDriversOn) {
    struct Case {
        const char* call;
        long occurrence;
    };
    const Case cases[] = {
        {"AEGP_SetAddKeyframe", 3},
        {"AEGP_AddKeyframes", 1},
        {"AEGP_SetMaskOutlineVertexInfo", 7},
        {"AEGP_GetNewStreamValue", 40},
    };
    constexpr PF_Err kCode = 1234;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.call);
        Scene s;
        // The mask's own keys, which a failed bake must leave exactly so.
        MaskOutline moved = ClosedFour();
        moved.vertices[3].x = 12;
        const project::Mask& mask = s.project().AddMask(s.layer(), {{2, ClosedFour()}, {6, moved}});
        const auto keys_before = mask.outline.Keys();
        EffectInstance& first = s.ApplyDriver(0, 0);
        first.SetKeyframe(kKnotwellPoint, 0, AEGP_TwoDVal{1, 1});
        first.SetKeyframe(kKnotwellPoint, 9, AEGP_TwoDVal{10, 10});
        EffectInstance& second = s.ApplyDriver(0, 2);
        EffectInstance& baker = s.ApplyBaker(0, false);
        baker.SetControl(kBakerBake, kExecute);
        s.host.faults().fail_occurrence.push_back({c.call, c.occurrence, kCode});
        const long ends = s.host.calls().CallsOf("AEGP_EndAddKeyframes");

        EXPECT_EQ(baker.Render(0).err(), kCode);
        ASSERT_EQ(s.host.calls().injected().size(), 1u);
        EXPECT_EQ(s.host.calls().CallsOf("AEGP_EndAddKeyframes"), ends + 1) << "the batch is ended unused";
        ASSERT_EQ(mask.outline.Keys().size(), keys_before.size());
        for (const auto& [time, key] : keys_before) {
            EXPECT_TRUE(project::SameValue(mask.outline.Keys().at(time), key)) << "key at " << time;
        }
        EXPECT_TRUE(Scene::Active(first));
        EXPECT_TRUE(Scene::Active(second));
        EXPECT_EQ(s.LeakReportAfterShutdown(), "");
    }
}

// The streams of a driver's controls are held for the whole bake, so a
// sample asks the host for the mask's shape, its key and its disposal (4
// calls), and per driven vertex for the vertex read and write (2) and the
// nine control values with their disposal (18).
TEST(BakeTest, ASampleCostsTwentyHostCallsPerDrivenVertex) {
    const auto bake_calls = [](Ticks frames) {
        Scene s(Generation::kCurrent, kAllPlugins, frames);
        s.AddMask(ClosedFour());
        for (double v = 0; v < 4; ++v) s.ApplyDriver(0, v).SetKeyframe(kKnotwellPoint, frames - 1, AEGP_TwoDVal{v, v});
        EffectInstance& baker = s.ApplyBaker(0, false);
        baker.SetControl(kBakerBake, kExecute);
        const long before = s.host.calls().total();
        EXPECT_EQ(baker.Render(0).err(), PF_Err_NONE);
        return s.host.calls().total() - before;
    };
    const long per_sample = (bake_calls(30) - bake_calls(10)) / 20;
    EXPECT_EQ(per_sample, 4 + 4 * 20);
}

}  // namespace
}  // namespace knotwell::test
