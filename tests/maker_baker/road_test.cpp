// The user's road through the three plug-ins, in both interface
// generations: make the instances, animate some, watch the masks follow,
// bake, and see the masks keep the motion with the instances idle.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/scene.h"

namespace knotwell::test {
namespace {

class RoadTest : public ::testing::TestWithParam<Generation> {};

constexpr Ticks kFrames = 10;

// Control values are chosen exact in 16.16, the units in which the live
// instances check them out, so the live shapes and the baked keys (which
// are worked out from the stream values) agree to rounding.
void Animate(const std::vector<EffectInstance*>& knotwells) {
    // Mask 0, vertex 1: keys on "Point".
    knotwells[1]->SetKeyframe(kKnotwellPoint, 0, AEGP_TwoDVal{50, 10});
    knotwells[1]->SetKeyframe(kKnotwellPoint, 8, AEGP_TwoDVal{58, 26});
    // Mask 0, vertex 2: a polar in tangent of growing radius, mirrored.
    EffectInstance& polar = *knotwells[2];
    polar.SetNumber(kKnotwellCoordinate, kKnotwellPolar);
    polar.SetNumber(kKnotwellSymmetric, 1);
    polar.SetNumber(kKnotwellTanInAngle, 30);
    polar.SetKeyframe(kKnotwellTanInRadius, 0, 4.0);
    polar.SetKeyframe(kKnotwellTanInRadius, 8, 12.0);
    // Mask 1, vertex 3: an expression on "Point".
    knotwells[7]->SetExpression(kKnotwellPoint, [](Ticks time, const project::StreamValue&) {
        return project::StreamValue(AEGP_TwoDVal{24.0 + time, 4.0 - time});
    });
}

TEST_P(RoadTest, MakeAnimateRenderBakeAndBakeAgain) {
    Scene s(GetParam(), kAllPlugins, kFrames);
    s.AddMask(ClosedFour());
    s.AddMask(OpenFive());
    s.ApplyMaker(-1, true).SetControl(kMakerMake, kExecute);
    ASSERT_EQ(s.Render().FirstError(), PF_Err_NONE);
    const std::vector<EffectInstance*> knotwells = s.Instances(kKnotwell);
    ASSERT_EQ(knotwells.size(), 9u);
    ASSERT_EQ(s.EffectNames().back(), kBaker);
    EffectInstance& baker = s.Effect(s.EffectCount() - 1);
    Animate(knotwells);

    // Live: the masks follow the instances frame by frame.
    std::vector<MaskOutline> live[2];
    for (Ticks t = 0; t < kFrames; ++t) {
        const host::RenderResult frame = s.Render(t);
        ASSERT_EQ(frame.FirstError(), PF_Err_NONE) << "at " << t;
        ASSERT_TRUE(frame.settled) << "at " << t;
        for (std::size_t m = 0; m < 2; ++m) live[m].push_back(ShapeAt(s.mask(m), t));
        const AEGP_MaskVertex& moved = live[0][t].vertices[1];
        const double step = std::min(t, 8);  // the last key is at 8
        EXPECT_EQ(moved.x, 50.0 + step);
        EXPECT_EQ(moved.y, 10.0 + 2 * step);
        const AEGP_MaskVertex& mirrored = live[0][t].vertices[2];
        EXPECT_NEAR(std::hypot(mirrored.tan_in_x, mirrored.tan_in_y), std::min(4.0 + t, 12.0), 1e-9);
        EXPECT_EQ(mirrored.tan_out_x, -mirrored.tan_in_x);
        EXPECT_EQ(live[1][t].vertices[3].x, 24.0 + t);
    }
    EXPECT_EQ(s.host.ledger().OpenCount("param checkout"), 0u);

    // The bake: one key per frame, the shape the instances gave there.
    baker.SetControl(kBakerBake, kExecute);
    const host::RenderResult bake = s.Render(0);
    ASSERT_EQ(bake.FirstError(), PF_Err_NONE);
    EXPECT_TRUE(bake.settled);
    EXPECT_EQ(Number(baker, kBakerBake), kIdle);
    for (const EffectInstance* fx : knotwells) EXPECT_FALSE(Scene::Active(*fx));
    for (std::size_t m = 0; m < 2; ++m) {
        ASSERT_EQ(s.mask(m).outline.Keys().size(), static_cast<std::size_t>(kFrames)) << "mask " << m;
        for (Ticks t = 0; t < kFrames; ++t) {
            EXPECT_LE(MaxDifference(std::get<MaskOutline>(s.mask(m).outline.Keys().at(t)), live[m][t]), 1e-9)
                << "mask " << m << " key at " << t;
        }
    }

    // The instances are idle now and the masks look the same.
    for (Ticks t = 0; t < kFrames; ++t) {
        ASSERT_EQ(s.Render(t).FirstError(), PF_Err_NONE);
        for (std::size_t m = 0; m < 2; ++m) EXPECT_LE(MaxDifference(ShapeAt(s.mask(m), t), live[m][t]), 1e-9);
    }

    // Baking again finds no active instance: only "Bake" goes back.
    const std::string baked = s.Dump();
    baker.SetControl(kBakerBake, kExecute);
    EXPECT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    EXPECT_EQ(s.Dump(), baked);
    EXPECT_EQ(s.host.ledger().OpenCount("param checkout"), 0u);
    EXPECT_EQ(s.LeakReportAfterShutdown(), "");
}

INSTANTIATE_TEST_SUITE_P(Generations, RoadTest, ::testing::Values(Generation::kCurrent, Generation::kLegacy),
                         [](const auto& info) { return std::string(host::NameOf(info.param)); });

}  // namespace
}  // namespace knotwell::test
