#include <gtest/gtest.h>

#include <string>

#include "headless_host/evaluation/dump.h"
#include "headless_host/tests/project_fixture.h"

namespace knotwell::host {
namespace {

using EvaluationTest = ProjectTest;

TEST_F(EvaluationTest, ParametersLiveOnStreamsOfTheEffectRecord) {
    const project::Effect& effect = layer_->effects.at(0);
    EXPECT_EQ(effect.name, "Current");
    EXPECT_EQ(effect.key, 1);
    ASSERT_EQ(effect.params.size(), 3u);
    EXPECT_EQ(effect.params[0].name, "Amount");
    EXPECT_TRUE(fx_->Stream(kAmount).CanVaryInTime());
    EXPECT_FALSE(fx_->Stream(kMode).CanVaryInTime());
    const auto where = std::get<AEGP_TwoDVal>(fx_->Control(kWhere, 0));
    EXPECT_EQ(where.x, 3);
    EXPECT_EQ(where.y, 4);
}

TEST_F(EvaluationTest, CheckoutGivesValuesAfterExpressionsInRenderUnits) {
    project().composition().downsample_x = {1, 2};
    project().composition().downsample_y = {1, 4};
    fx_->SetControl(kWhere, 10, 20);
    fx_->SetExpression(kAmount, [](project::Ticks time, const project::StreamValue&) -> project::StreamValue {
        return 100.0 + time;
    });
    const PF_ParamDef where = fx_->ParamAt(kWhere, 0);
    EXPECT_EQ(where.u.td.x_value, 5 * PF_Fixed_ONE);
    EXPECT_EQ(where.u.td.y_value, 5 * PF_Fixed_ONE);
    EXPECT_EQ(fx_->ParamAt(kAmount, 3).u.sd.value, 103);
    EXPECT_EQ(std::get<double>(fx_->Control(kAmount, 3)), 5);
}

TEST_F(EvaluationTest, TimeComesFromTheLayerAndTheComposition) {
    project::Layer& late = project().AddLayer({.start = 10, .duration = 50});
    EffectInstance& instance = project().ApplyEffect(late, "Current");
    project().composition().time_scale = 24;
    project().composition().time_step = 2;
    project().SetCurrentTime(16);
    const InDataSettings settings = instance.settings();
    EXPECT_EQ(settings.current_time, 6);
    EXPECT_EQ(settings.total_time, 50);
    EXPECT_EQ(settings.time_scale, 24u);
    EXPECT_EQ(settings.time_step, 2);
}

TEST_F(EvaluationTest, UserChangeSetsTheValueAndSendsBothUiCommands) {
    fx_->SetKeyframe(kAmount, 0, 0.0);
    fx_->SetKeyframe(kAmount, 8, 8.0);
    project().SetCurrentTime(4);
    const long calls = host_.calls().CallsOf("PF_UpdateParamUI");
    const std::vector<Reply> replies = fx_->SetControl(kAmount, 9);
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(host_.calls().CallsOf("PF_UpdateParamUI"), calls + 1);  // the test effect answers only the first
    EXPECT_EQ(fx_->Stream(kAmount).Keys().size(), 3u);
    EXPECT_EQ(fx_->ParamAt(kAmount, 4).u.sd.value, 9);
    EXPECT_EQ(fx_->ui(kAmount).name, "Amount (off)");
}

TEST_F(EvaluationTest, RenderLoopRunsUntilTheProjectSettlesOrTheBound) {
    struct Case {
        double mode;
        int passes;
        bool settled;
    };
    // "Two" raises Amount from 5 to 8 in three passes; "Three" flips it forever.
    for (const Case& c : {Case{1, 1, true}, Case{2, 4, true}, Case{3, Project::kMaxPasses, false}}) {
        fx_->SetControl(kMode, c.mode);
        const RenderResult frame = project().RenderFrame(*layer_, 3);
        EXPECT_EQ(frame.passes, c.passes) << c.mode;
        EXPECT_EQ(frame.settled, c.settled) << c.mode;
        EXPECT_EQ(frame.FirstError(), PF_Err_NONE);
        EXPECT_EQ(frame.effects.size(), static_cast<std::size_t>(c.passes));
    }
    fx_->SetControl(kMode, 1);
    fx_->SetNumber(kAmount, 5);
    fx_->SetControl(kMode, 2);
    project().RenderFrame(*layer_, 0);
    EXPECT_EQ(fx_->ParamAt(kAmount, 0).u.sd.value, 8);
    host_.Shutdown();
    EXPECT_EQ(host_.LeakReport(), "");
}

TEST_F(EvaluationTest, OnlyActiveEffectsRenderAndEveryFrameOfTheLayerIsReached) {
    project().ApplyEffect(*layer_, "Current");
    layer_->effects[0].flags = AEGP_EffectFlags_NONE;
    const std::vector<RenderResult> frames = project().RenderAllFrames(*layer_);
    ASSERT_EQ(frames.size(), 10u);
    for (std::size_t i = 0; i < frames.size(); ++i) {
        EXPECT_EQ(frames[i].time, static_cast<project::Ticks>(i));
        ASSERT_EQ(frames[i].effects.size(), 1u);
        EXPECT_EQ(frames[i].effects[0].effect_index, 1u);
    }
}

TEST_F(EvaluationTest, MessagesAreKeptWithTheFrameThatShowedThem) {
    host_.faults().fail_named["copy"] = PF_Err_INTERNAL_STRUCT_DAMAGED;
    const RenderResult frame = project().RenderFrame(*layer_, 2);
    EXPECT_EQ(frame.FirstError(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    ASSERT_EQ(frame.messages.size(), 1u);
    EXPECT_EQ(frame.messages[0].text, "render failed: 512");
    EXPECT_TRUE(frame.messages[0].is_error);
    EXPECT_EQ(frame.messages[0].effect, "Current");
    EXPECT_EQ(frame.messages[0].time, 2);
}

TEST_F(EvaluationTest, DumpShowsMasksControlsAndTheirShownState) {
    layer_->duration = 2;
    project().AddMask(*layer_, {{0, Square(2)}, {1, Square(4)}}, true);
    fx_->SetControl(kMode, 2);
    fx_->ui(kWhere).hidden = true;
    EXPECT_EQ(DumpLayerState(project(), *layer_, 0, {.mask_frames = true}),
              "layer \"Solid\" at 0\n"
              "  mask 0 \"Mask 1\" RotoBezier: [2 keys] closed, 4 vertices\n"
              "    vertex 0: (0, 0) in (0, 0) out (0, 0)\n"
              "    vertex 1: (2, 0) in (0, 0) out (0, 0)\n"
              "    vertex 2: (2, 2) in (0, 0) out (0, 0)\n"
              "    vertex 3: (0, 2) in (0, 0) out (0, 0)\n"
              "  effect 0 \"Current\"\n"
              "    1 \"Amount\" shown \"Amount (off)\" greyed: 5\n"
              "    2 \"Mode\": 2\n"
              "    3 \"Where\" hidden: (3, 4)\n"
              "  frame 0\n"
              "    mask 0 \"Mask 1\" RotoBezier: [2 keys] closed, 4 vertices\n"
              "      vertex 0: (0, 0) in (0, 0) out (0, 0)\n"
              "      vertex 1: (2, 0) in (0, 0) out (0, 0)\n"
              "      vertex 2: (2, 2) in (0, 0) out (0, 0)\n"
              "      vertex 3: (0, 2) in (0, 0) out (0, 0)\n"
              "  frame 1\n"
              "    mask 0 \"Mask 1\" RotoBezier: [2 keys] closed, 4 vertices\n"
              "      vertex 0: (0, 0) in (0, 0) out (0, 0)\n"
              "      vertex 1: (4, 0) in (0, 0) out (0, 0)\n"
              "      vertex 2: (4, 4) in (0, 0) out (0, 0)\n"
              "      vertex 3: (0, 4) in (0, 0) out (0, 0)\n");
}

}  // namespace
}  // namespace knotwell::host
