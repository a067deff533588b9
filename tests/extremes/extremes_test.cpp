// The plug-ins and the host at the edges of what a project can hold: each
// case ends without a crash or a hang, and either does the right thing or
// refuses visibly; nothing is changed silently.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "headless_host/cli/project_file/read_project.h"
#include "tests/support/scene.h"

namespace knotwell::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// A closed outline of `count` vertices on a row, 1 pixel apart.
MaskOutline Row(std::size_t count) {
    MaskOutline outline;
    outline.vertices.reserve(count);
    for (std::size_t i = 0; i < count; ++i) outline.vertices.push_back({static_cast<double>(i), 5, 0, 0, 0, 0});
    return outline;
}

bool Shown(const Scene& s, std::string_view text) {
    const auto& messages = s.host.messages();
    return std::any_of(messages.begin(), messages.end(), [&](const host::Message& m) { return m.text == text; });
}

constexpr std::string_view kNothingToBake = "Nothing to bake: the layer has no frames.";

void ExpectClean(Scene& s) {
    const std::string leaks = s.LeakReportAfterShutdown();
    EXPECT_EQ(leaks, "");
}

// --- Masks of 0, 1 and 100,000 vertices. ---

// An outline without vertices has nothing to link: the pre-render ends
// without an error and writes neither the mask nor "No".
TEST(ExtremesTest, ADriverOnAMaskWithoutVerticesLinksNothing) {
    Scene s;
    s.AddMask(Row(0));
    EffectInstance& fx = s.ApplyDriver(0, 3);
    fx.SetControl(kKnotwellPoint, 20, 20);
    const host::RenderResult frame = s.Render(0);
    EXPECT_EQ(frame.FirstError(), PF_Err_NONE);
    EXPECT_TRUE(frame.settled);
    EXPECT_TRUE(ShapeAt(s.mask(0), 0).vertices.empty());
    EXPECT_EQ(Number(fx, kKnotwellNo), 3);
    ExpectClean(s);
}

TEST(ExtremesTest, AMakeOverMasksOfNoneAndOneVertexAppliesOneInstancePerVertex) {
    Scene s;
    s.AddMask(Row(0));
    s.AddMask(Row(1));
    s.ApplyMaker(-1, true).SetControl(kMakerMake, kExecute);
    EXPECT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    EXPECT_EQ(s.Instances(kKnotwell).size(), 1u);
    EXPECT_EQ(s.Instances(kBaker).size(), 1u);
    EXPECT_EQ(ShapeAt(s.mask(1), 0).vertices.size(), 1u);
    ExpectClean(s);
}

TEST(ExtremesTest, ADriverMovesTheLastOfOneHundredThousandVertices) {
    constexpr std::size_t kCount = 100'000;
    Scene s(Generation::kCurrent, kAllPlugins, 3);
    s.AddMask(Row(kCount));
    EffectInstance& fx = s.ApplyDriver(0, kCount - 1);
    fx.SetControl(kKnotwellPoint, 7, 9);
    const host::RenderResult frame = s.Render(0);
    EXPECT_EQ(frame.FirstError(), PF_Err_NONE);
    EXPECT_TRUE(frame.settled);
    const MaskOutline shape = ShapeAt(s.mask(0), 0);
    ASSERT_EQ(shape.vertices.size(), kCount);
    EXPECT_EQ(shape.vertices.back().x, 7);
    EXPECT_EQ(shape.vertices.back().y, 9);
    EXPECT_EQ(MaxDifference({{shape.vertices.begin(), shape.vertices.end() - 1}, false},
                            {{Row(kCount - 1).vertices}, false}),
              0.0);

    // A bake of the big mask: one key per frame, each with every vertex.
    EffectInstance& baker = s.ApplyBaker(0, false);
    baker.SetControl(kBakerBake, kExecute);
    EXPECT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    const auto& keys = s.mask(0).outline.Keys();
    ASSERT_EQ(keys.size(), 3u);
    for (const auto& [time, key] : keys) {
        EXPECT_EQ(std::get<MaskOutline>(key).vertices.size(), kCount) << "key at " << time;
    }
    ExpectClean(s);
}

// --- 10,000 frames. ---

TEST(ExtremesTest, ABakeOfTenThousandFramesWritesAKeyAtEachFrame) {
    constexpr Ticks kFrames = 10'000;
    Scene s(Generation::kCurrent, kAllPlugins, kFrames);
    s.AddMask(ClosedFour());
    EffectInstance& fx = s.ApplyDriver(0, 2);
    fx.SetKeyframe(kKnotwellPoint, 0, AEGP_TwoDVal{0, 0});
    fx.SetKeyframe(kKnotwellPoint, kFrames - 1, AEGP_TwoDVal{kFrames - 1, 0});
    s.ApplyBaker(0, false).SetControl(kBakerBake, kExecute);
    EXPECT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    const auto& keys = s.mask(0).outline.Keys();
    ASSERT_EQ(keys.size(), static_cast<std::size_t>(kFrames));
    EXPECT_EQ(keys.rbegin()->first, kFrames - 1);
    EXPECT_EQ(std::get<MaskOutline>(keys.rbegin()->second).vertices[2].x, kFrames - 1);
    EXPECT_FALSE(Scene::Active(fx));
    ExpectClean(s);
}

// --- Values that are not finite numbers. ---

struct NonFinite {
    const char* name;
    PF_ParamIndex index;
    double x;
    double y;  // NaN: a one-dimensional control
};

class NonFiniteTest : public testing::TestWithParam<NonFinite> {};

// As After Effects, the host takes no NaN or infinity into a control: the
// change is refused and the mask keeps its shape.
TEST_P(NonFiniteTest, TheHostRefusesTheValueAndTheMaskKeepsItsShape) {
    const NonFinite& c = GetParam();
    Scene s;
    s.AddMask(ClosedFour());
    EffectInstance& fx = s.ApplyDriver(0, 1);
    fx.SetControl(kKnotwellPoint, 50, 10);
    ASSERT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    const MaskOutline before = ShapeAt(s.mask(0), 0);
    if (std::isnan(c.y) && c.index != kKnotwellPoint) {
        EXPECT_THROW(fx.SetControl(c.index, c.x), std::invalid_argument);
        EXPECT_THROW(fx.SetKeyframe(c.index, 1, c.x), std::invalid_argument);
    } else {
        EXPECT_THROW(fx.SetControl(c.index, c.x, c.y), std::invalid_argument);
        EXPECT_THROW(fx.SetKeyframe(c.index, 1, AEGP_TwoDVal{c.x, c.y}), std::invalid_argument);
    }
    EXPECT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    EXPECT_EQ(MaxDifference(ShapeAt(s.mask(0), 0), before), 0.0);
    ExpectClean(s);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, NonFiniteTest,
    testing::Values(NonFinite{"PointNaN", kKnotwellPoint, kNaN, 0}, NonFinite{"PointInfinite", kKnotwellPoint, 0, kInfinity},
                    NonFinite{"RadiusInfinite", kKnotwellTanInRadius, -kInfinity, kNaN},
                    NonFinite{"AngleNaN", kKnotwellTanOutAngle, kNaN, kNaN},
                    NonFinite{"IndexInfinite", kKnotwellIndex, kInfinity, kNaN}),
    [](const testing::TestParamInfo<NonFinite>& info) { return std::string(info.param.name); });

// An expression may still compute NaN: the control then has the value
// before the expression, and the failure is reported, as for any broken
// expression.
TEST(ExtremesTest, AnExpressionThatGivesNaNIsReportedAndNotApplied) {
    Scene s;
    s.AddMask(ClosedFour());
    EffectInstance& fx = s.ApplyDriver(0, 1);
    fx.SetControl(kKnotwellPoint, 50, 10);
    ASSERT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    fx.SetExpression(kKnotwellPoint, [](Ticks, const project::StreamValue&) -> project::StreamValue {
        return AEGP_TwoDVal{kNaN, 0};
    });
    s.Render(0);
    EXPECT_FALSE(s.host.expression_errors().empty());
    const AEGP_MaskVertex vertex = ShapeAt(s.mask(0), 0).vertices[1];
    EXPECT_TRUE(std::isfinite(vertex.x) && std::isfinite(vertex.y));
    ExpectClean(s);
}

// A point beyond what a checked-out 16.16 value holds is held at its edge
// instead of wrapping around to another place.
TEST(ExtremesTest, AFarPointIsHeldAtTheEdgeOfTheCheckedOutRange) {
    Scene s;
    s.AddMask(ClosedFour());
    EffectInstance& fx = s.ApplyDriver(0, 1);
    fx.SetControl(kKnotwellPoint, 1e12, -1e12);
    EXPECT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    const AEGP_MaskVertex vertex = ShapeAt(s.mask(0), 0).vertices[1];
    EXPECT_GT(vertex.x, 32767.0);
    EXPECT_LE(vertex.y, -32768.0);
    ExpectClean(s);
}

// --- Durations and frame rates that are zero or negative. ---

class EmptyLayerTest : public testing::TestWithParam<Ticks> {};

// A layer that lasts no time has no frame: the bake writes no key, and the
// instances keep driving.
TEST_P(EmptyLayerTest, ABakeWritesNoKeyAndEnds) {
    Scene s(Generation::kCurrent, kAllPlugins, GetParam());
    s.AddMask(ClosedFour());
    EffectInstance& fx = s.ApplyDriver(0, 1);
    EXPECT_TRUE(s.project().RenderAllFrames(s.layer()).empty());
    s.ApplyBaker(0, false).SetControl(kBakerBake, kExecute);
    s.Render(0);
    EXPECT_TRUE(Shown(s, kNothingToBake));
    EXPECT_TRUE(s.mask(0).outline.Keys().empty());
    EXPECT_TRUE(Scene::Active(fx));
    ExpectClean(s);
}

INSTANTIATE_TEST_SUITE_P(Durations, EmptyLayerTest, testing::Values(0, -10));

class FrameStepTest : public testing::TestWithParam<A_long> {};

// A composition without a positive frame step has no frames to walk: the
// host refuses to play it, and a bake there is refused instead of sampling
// for ever.
TEST_P(FrameStepTest, NoFrameIsWalkedAndTheBakeIsRefused) {
    Scene s;
    s.project().composition().time_step = GetParam();
    s.AddMask(ClosedFour());
    EffectInstance& fx = s.ApplyDriver(0, 1);
    EXPECT_THROW(s.project().RenderAllFrames(s.layer()), std::invalid_argument);
    s.ApplyBaker(0, false).SetControl(kBakerBake, kExecute);
    const host::RenderResult frame = s.Render(0);
    EXPECT_TRUE(Shown(s, kNothingToBake));
    EXPECT_TRUE(s.mask(0).outline.Keys().empty());
    EXPECT_TRUE(Scene::Active(fx));
    EXPECT_TRUE(frame.settled);
    ExpectClean(s);
}

INSTANTIATE_TEST_SUITE_P(Steps, FrameStepTest, testing::Values(0, -1));

// A project file refuses such a composition or layer at its place.
TEST(ExtremesTest, AProjectFileRefusesZeroOrNegativeRatesAndDurations) {
    const std::string layer = R"("layers": [{"name": "L", "masks": [], "effects": []}])";
    for (const std::string composition :
         {R"({"name": "C", "width": 8, "height": 8, "frame_rate": 0, "duration": 3})",
          R"({"name": "C", "width": 8, "height": 8, "frame_rate": -30, "duration": 3})",
          R"({"name": "C", "width": 8, "height": 8, "frame_rate": 30, "duration": 0})",
          R"({"name": "C", "width": 8, "height": 8, "frame_rate": 30, "duration": -5})"}) {
        const std::string text = R"({"composition": )" + composition + ", " + layer + R"(, "steps": []})";
        const auto read = project_file::ReadProject(text);
        ASSERT_FALSE(read.ok()) << composition;
        EXPECT_NE(read.error().path.find("composition"), std::string::npos) << read.error().message;
    }
}

// --- "Index" and "No" at their largest values. ---

TEST(ExtremesTest, IndexAndNoAtTenThousandArePulledToTheLastMaskAndVertex) {
    Scene s;
    s.AddMask(ClosedFour());
    s.AddMask(OpenFive());
    EffectInstance& fx = s.ApplyDriver(10'000, 10'000);
    fx.SetControl(kKnotwellPoint, 33, 3);
    EXPECT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    EXPECT_EQ(Number(fx, kKnotwellIndex), 1);
    EXPECT_EQ(Number(fx, kKnotwellNo), 4);
    EXPECT_EQ(ShapeAt(s.mask(1), 0).vertices[4].x, 33);
    EXPECT_EQ(MaxDifference(ShapeAt(s.mask(0), 0), ClosedFour()), 0.0);

    EffectInstance& maker = s.ApplyMaker(10'000, false, false);
    EffectInstance& baker = s.ApplyBaker(10'000, false);
    EXPECT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    EXPECT_EQ(Number(maker, kMakerIndex), 1);
    // The baker keeps its "Index" and bakes no mask it does not name.
    baker.SetControl(kBakerBake, kExecute);
    EXPECT_EQ(s.Render(0).FirstError(), PF_Err_NONE);
    EXPECT_EQ(Number(baker, kBakerIndex), 10'000);
    EXPECT_TRUE(s.mask(0).outline.Keys().empty());
    EXPECT_TRUE(s.mask(1).outline.Keys().empty());
    EXPECT_TRUE(Scene::Active(fx));
    ExpectClean(s);
}

// --- An effect list of 1,000 instances. ---

TEST(ExtremesTest, AThousandInstancesEachFollowTheirVertex) {
    constexpr int kInstances = 1000;
    Scene s;
    s.AddMask(OpenFive());
    for (int i = 0; i < kInstances; ++i) {
        EffectInstance& fx = s.Apply(kKnotwell);
        fx.SetNumber(kKnotwellIndex, 0);
        fx.SetNumber(kKnotwellNo, i % 5);
    }
    const host::RenderResult frame = s.Render(0);
    EXPECT_EQ(frame.FirstError(), PF_Err_NONE);
    EXPECT_TRUE(frame.settled);
    const MaskOutline shape = OpenFive();
    for (int i : {0, 1, 499, 998, 999}) {
        const AEGP_MaskVertex& vertex = shape.vertices[static_cast<std::size_t>(i % 5)];
        const AEGP_TwoDVal point = Point(s.Effect(static_cast<std::size_t>(i)), kKnotwellPoint);
        EXPECT_EQ(point.x, vertex.x) << "instance " << i;
        EXPECT_EQ(point.y, vertex.y) << "instance " << i;
    }
    EXPECT_EQ(MaxDifference(ShapeAt(s.mask(0), 0), shape), 0.0);
    ExpectClean(s);
}

}  // namespace
}  // namespace knotwell::test
