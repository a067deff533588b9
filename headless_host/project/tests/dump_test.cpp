#include "headless_host/project/dump.h"

#include <gtest/gtest.h>

namespace knotwell::project {
namespace {

Layer SampleLayer() {
    Layer layer;
    layer.name = "Solid";
    layer.duration = 3;
    Mask& mask = layer.masks.emplace_back();
    mask.name = "Mask 1";
    EXPECT_EQ(mask.outline.SetKey(0, MaskOutline{{{0, 0, 0, 0, 1, 0}}, true}), StreamStatus::kOk);
    EXPECT_EQ(mask.outline.SetKey(2, MaskOutline{{{4, 2, 0, 0, 1, 0}}, true}), StreamStatus::kOk);
    Effect& effect = layer.effects.emplace_back();
    effect.name = "Knotwell";
    effect.flags = AEGP_EffectFlags_NONE;
    effect.params.push_back({"Index", Stream(-1.0, false)});
    effect.params.push_back({"Point", Stream(AEGP_TwoDVal{0.5, 2})});
    effect.params[1].stream.SetExpression(
        [](Ticks, const StreamValue&) -> StreamValue { return AEGP_TwoDVal{9, 9}; });
    return layer;
}

TEST(DumpTest, ShowsMasksWithVerticesAndEffectsWithParameters) {
    EXPECT_EQ(DumpLayer(SampleLayer(), 1),
              "layer \"Solid\" at 1\n"
              "  mask 0 \"Mask 1\": [2 keys] open, 1 vertices\n"
              "    vertex 0: (2, 1) in (0, 0) out (1, 0)\n"
              "  effect 0 \"Knotwell\" off\n"
              "    1 \"Index\": -1\n"
              "    2 \"Point\": (0.5, 2) -> expression (9, 9)\n");
}

TEST(DumpTest, FramesRunFromZeroUpToTheDuration) {
    Composition comp;
    comp.time_step = 1;
    const std::string frames = DumpLayerFrames(comp, SampleLayer());
    EXPECT_NE(frames.find("at 0\n"), std::string::npos);
    EXPECT_NE(frames.find("at 2\n"), std::string::npos);
    EXPECT_EQ(frames.find("at 3\n"), std::string::npos);
}

}  // namespace
}  // namespace knotwell::project
