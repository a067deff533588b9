// Knotwell's pre-render through the headless host, in both interface
// generations: driving a mask vertex from the controls, following it into
// the controls, pulling "Index" and "No" into range and falling idle.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/vertex_editor/knotwell_scene.h"

namespace knotwell {
namespace {

using host::Generation;
using test::Controls;
using test::KnotwellScene;
using test::Outline;

// How often the host saw a call while `action` ran.
long CallsDuring(KnotwellScene& scene, const char* call, const std::function<void()>& action) {
    const long before = scene.host().calls().CallsOf(call);
    action();
    return scene.host().calls().CallsOf(call) - before;
}

void ExpectVertexNear(const AEGP_MaskVertex& got, const AEGP_MaskVertex& want, double tolerance) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.tan_in_x, want.tan_in_x, tolerance);
    EXPECT_NEAR(got.tan_in_y, want.tan_in_y, tolerance);
    EXPECT_NEAR(got.tan_out_x, want.tan_out_x, tolerance);
    EXPECT_NEAR(got.tan_out_y, want.tan_out_y, tolerance);
}

bool SameVertex(const AEGP_MaskVertex& a, const AEGP_MaskVertex& b) {
    return a.x == b.x && a.y == b.y && a.tan_in_x == b.tan_in_x && a.tan_in_y == b.tan_in_y &&
           a.tan_out_x == b.tan_out_x && a.tan_out_y == b.tan_out_y;
}

// A pre-render that must succeed and give back every checked-out control.
void PreRenderOk(KnotwellScene& scene) {
    const test::PreRenderReply result = scene.PreRender();
    EXPECT_EQ(result.reply.err, PF_Err_NONE);
    EXPECT_TRUE(result.record_set);
    EXPECT_EQ(scene.host().ledger().OpenCount("param checkout"), 0u);
}

class PreRenderTest : public ::testing::TestWithParam<Generation> {};

struct DriveCase {
    const char* what;
    std::vector<int> masks;  // vertex count of each mask
    bool open;
    Controls controls;       // "ON" is set by the test
    PF_RationalScale downsample_x;
    PF_RationalScale downsample_y;
    std::size_t mask;        // the mask and vertex that must change
    A_long vertex;
    AEGP_MaskVertex expected;
};

// (3, -4) as an angle control: atan2(-4, 3) in degrees, plus 90.
const double kThreeMinusFour = std::atan2(-4.0, 3.0) / 0.017453292519943295 + 90;

// Geometry that is not exact in 16.16, so resolution shows in the result.
const Controls kCartesian{.index = 0, .no = 1, .point = {50.3, 25.7}, .tan_in = {1.1, -2.2}, .tan_out = {-4.4, 6.6}};
const AEGP_MaskVertex kCartesianVertex{50.3, 25.7, 1.1, -2.2, -4.4, 6.6};

const DriveCase kDriveCases[] = {
    {"Cartesian at full resolution", {3}, false, kCartesian, {1, 1}, {1, 1}, 0, 1, kCartesianVertex},
    {"Cartesian at half resolution", {3}, false, kCartesian, {1, 2}, {1, 2}, 0, 1, kCartesianVertex},
    {"Cartesian at a quarter across and half down", {3}, false, kCartesian, {1, 4}, {1, 2}, 0, 1,
     kCartesianVertex},
    {"polar at half resolution keeps the radii",
     {3}, false,
     {.index = 0, .no = 1, .point = {50.3, 25.7}, .coordinate = kKnotwellPolar, .in_radius = 10, .in_angle = 90,
      .out_radius = 5, .out_angle = 180},
     {1, 2}, {1, 2}, 0, 1, {50.3, 25.7, 10, 0, 0, 5}},
    {"polar with Symmetric on mirrors the in tangent",
     {3}, false,
     {.index = 0, .no = 1, .point = {50.3, 25.7}, .coordinate = kKnotwellPolar, .in_radius = 5,
      .in_angle = kThreeMinusFour, .out_radius = 7, .out_angle = 270, .symmetric = 1},
     {1, 1}, {1, 1}, 0, 1, {50.3, 25.7, 3, -4, -3, 4}},
    {"Cartesian with Symmetric on uses Tan Out",
     {3}, false,
     {.index = 0, .no = 1, .point = {50.3, 25.7}, .tan_in = {1, 2}, .tan_out = {5, 5}, .symmetric = 1},
     {1, 1}, {1, 1}, 0, 1, {50.3, 25.7, 1, 2, 5, 5}},
    {"Index past the last of two masks works on the last", {2, 3}, false, {.index = 5, .no = 1}, {1, 1}, {1, 1},
     1, 1, {}},
    {"No past the last vertex of a closed mask of four", {4}, false, {.index = 0, .no = 9}, {1, 1}, {1, 1}, 0, 3,
     {}},
    {"No past the last vertex of an open mask of four", {4}, true, {.index = 0, .no = 9}, {1, 1}, {1, 1}, 0, 3, {}},
};

TEST_P(PreRenderTest, DriveSetsTheAddressedVertexAndPullsIndexAndNoIntoRange) {
    for (const DriveCase& c : kDriveCases) {
        SCOPED_TRACE(c.what);
        KnotwellScene scene(GetParam());
        for (const int count : c.masks) scene.AddMask(Outline(count, c.open));
        Controls controls = c.controls;
        controls.on = 1;
        scene.Apply(controls);
        scene.project().composition().downsample_x = c.downsample_x;
        scene.project().composition().downsample_y = c.downsample_y;

        PreRenderOk(scene);

        EXPECT_EQ(scene.Number(kKnotwellIndex), static_cast<double>(c.mask));
        EXPECT_EQ(scene.Number(kKnotwellNo), c.vertex);
        // Up to the 16.16 resolution of the checked-out values, scaled back
        // to full resolution.
        const double coarsest = std::min(static_cast<double>(c.downsample_x.num) / c.downsample_x.den,
                                         static_cast<double>(c.downsample_y.num) / c.downsample_y.den);
        ExpectVertexNear(scene.OutlineOf(c.mask).vertices.at(static_cast<std::size_t>(c.vertex)), c.expected,
                         1.0 / 65536 / coarsest);
        for (std::size_t m = 0; m < c.masks.size(); ++m) {
            const project::MaskOutline untouched = Outline(c.masks[m], c.open);
            for (std::size_t v = 0; v < untouched.vertices.size(); ++v) {
                if (m == c.mask && v == static_cast<std::size_t>(c.vertex)) continue;
                EXPECT_TRUE(SameVertex(scene.OutlineOf(m).vertices[v], untouched.vertices[v])) << m << ":" << v;
            }
        }
        EXPECT_EQ(scene.Finish(), "");
    }
}

TEST_P(PreRenderTest, FollowCopiesTheVertexAtTheCurrentTimeIntoTheSevenControls) {
    KnotwellScene scene(GetParam());
    project::MaskOutline early = Outline(3);
    project::MaskOutline late = Outline(3);
    early.vertices[1] = {10, 20, 0, 0, -2, -2};
    late.vertices[1] = {30, 40, 0, 0, 0, 0};
    scene.project().AddMask(scene.layer(), std::map<project::Ticks, project::MaskOutline>{{0, early}, {10, late}});
    scene.Apply({.index = 0, .no = 1, .coordinate = kKnotwellPolar, .symmetric = 1});
    scene.project().SetCurrentTime(5);

    PreRenderOk(scene);

    // Halfway between the keys: in tangent of length 0, out tangent (-1, -1).
    EXPECT_EQ(scene.Point(kKnotwellPoint).x, 20);
    EXPECT_EQ(scene.Point(kKnotwellPoint).y, 30);
    EXPECT_EQ(scene.Point(kKnotwellTanIn).x, 0);
    EXPECT_EQ(scene.Point(kKnotwellTanIn).y, 0);
    EXPECT_EQ(scene.Point(kKnotwellTanOut).x, -1);
    EXPECT_EQ(scene.Point(kKnotwellTanOut).y, -1);
    EXPECT_EQ(scene.Number(kKnotwellTanInRadius), 0);
    EXPECT_EQ(scene.Number(kKnotwellTanInAngle), 0);
    EXPECT_DOUBLE_EQ(scene.Number(kKnotwellTanOutRadius), std::sqrt(2.0));
    EXPECT_DOUBLE_EQ(scene.Number(kKnotwellTanOutAngle), -45);
    // The form, the symmetry and the mask stay as they were.
    EXPECT_EQ(scene.Number(kKnotwellCoordinate), kKnotwellPolar);
    EXPECT_EQ(scene.Number(kKnotwellSymmetric), 1);
    EXPECT_EQ(scene.layer().masks[0].outline.Keys().size(), 2u);
    EXPECT_TRUE(SameVertex(scene.OutlineOf(0).vertices[1], {20, 30, 0, 0, -1, -1}));

    // The seven controls are written on every pass, changed or not.
    const long changes = scene.project().changes();
    EXPECT_EQ(CallsDuring(scene, "AEGP_SetStreamValue", [&] { PreRenderOk(scene); }), 7);
    EXPECT_EQ(scene.project().changes(), changes);
    EXPECT_EQ(scene.Finish(), "");
}

TEST_P(PreRenderTest, ALayerWithoutMasksSwitchesTheEffectIdle) {
    KnotwellScene scene(GetParam());
    scene.Apply({.index = 3, .on = 1});
    PreRenderOk(scene);
    EXPECT_EQ(scene.Number(kKnotwellIndex), -1);
    EXPECT_EQ(scene.Number(kKnotwellOn), 0);
    EXPECT_EQ(CallsDuring(scene, "AEGP_GetEffectLayer", [&] { PreRenderOk(scene); }), 0);
    EXPECT_EQ(scene.Finish(), "");
}

TEST_P(PreRenderTest, IndexMinusOneReadsAndWritesNothingButReportsTheInput) {
    KnotwellScene scene(GetParam());
    scene.AddMask(Outline(3));
    scene.Apply({.index = -1, .point = {7, 7}, .on = 1});
    const long changes = scene.project().changes();
    for (const char* call : {"AEGP_GetEffectLayer", "AEGP_GetLayerNumMasks", "AEGP_GetNewStreamValue",
                             "AEGP_SetStreamValue"}) {
        EXPECT_EQ(CallsDuring(scene, call, [&] { PreRenderOk(scene); }), 0) << call;
    }
    EXPECT_EQ(scene.project().changes(), changes);
    const test::PreRenderReply result = scene.PreRender();
    EXPECT_EQ(result.output.result_rect.right, 200);
    EXPECT_EQ(result.output.result_rect.bottom, 100);
    EXPECT_EQ(result.output.max_result_rect.right, 200);
    EXPECT_EQ(result.output.max_result_rect.bottom, 100);
    EXPECT_EQ(scene.Finish(), "");
}

TEST_P(PreRenderTest, EveryCheckedOutControlIsCheckedInAgain) {
    for (const double on : {0.0, 1.0}) {
        KnotwellScene scene(GetParam());
        scene.AddMask(Outline(3));
        scene.Apply({.index = 0, .on = on});
        EXPECT_EQ(CallsDuring(scene, "checkout_param", [&] { PreRenderOk(scene); }), 12);
        EXPECT_EQ(CallsDuring(scene, "checkin_param", [&] { PreRenderOk(scene); }), 12);
        EXPECT_EQ(scene.Finish(), "");
    }
}

struct RotoCase {
    const char* what;
    AEGP_TwoDVal point;
    long writes;
    AEGP_MaskVertex expected;  // vertex 0 afterwards
};

// Vertex 0 of Outline() sits at (1, 2) with tangents (1, -2) and (-3, 4).
const RotoCase kRotoCases[] = {
    {"a moved point moves only the position", {5, 6}, 1, {5, 6, 1, -2, -3, 4}},
    {"tangent controls alone change nothing", {1, 2}, 0, {1, 2, 1, -2, -3, 4}},
};

TEST_P(PreRenderTest, OnARotoBezierMaskOnlyThePositionIsDriven) {
    for (const RotoCase& c : kRotoCases) {
        SCOPED_TRACE(c.what);
        KnotwellScene scene(GetParam());
        scene.AddMask(Outline(3), true);
        scene.Apply({.index = 0, .point = c.point, .tan_in = {9, 9}, .tan_out = {9, 9}, .on = 1});
        EXPECT_EQ(CallsDuring(scene, "AEGP_SetStreamValue", [&] { PreRenderOk(scene); }), c.writes);
        EXPECT_TRUE(SameVertex(scene.OutlineOf(0).vertices[0], c.expected));
        EXPECT_EQ(scene.Finish(), "");
    }
}

TEST_P(PreRenderTest, TheRenderAfterADriveWritesNothing) {
    KnotwellScene scene(GetParam());
    scene.AddMask(Outline(3));
    scene.Apply(kCartesian);
    scene.Set(kKnotwellOn, 1.0);
    const host::RenderResult frame = scene.project().RenderFrame(scene.layer(), 0);
    EXPECT_EQ(frame.FirstError(), PF_Err_NONE);
    EXPECT_TRUE(frame.settled);
    EXPECT_EQ(frame.passes, 2);

    const long changes = scene.project().changes();
    for (const char* call : {"AEGP_SetMaskOutlineVertexInfo", "AEGP_SetStreamValue"}) {
        EXPECT_EQ(CallsDuring(scene, call, [&] { PreRenderOk(scene); }), 0) << call;
    }
    EXPECT_EQ(scene.project().changes(), changes);
    EXPECT_EQ(scene.Finish(), "");
}

struct ToleranceCase {
    const char* what;
    AEGP_MaskVertex mask_vertex;  // against the target (8, 4), tangents 0
    long writes;
    AEGP_MaskVertex expected;
};

const ToleranceCase kToleranceCases[] = {
    {"within 0.0001 everywhere", {8.00005, 3.99995, 0, 0.00005, 0, 0}, 0, {8.00005, 3.99995, 0, 0.00005, 0, 0}},
    {"y beyond: x kept, y and the tangents taken", {8.00005, 4.0002, 0, 0.00005, 1, 0}, 1, {8.00005, 4, 0, 0, 0, 0}},
};

TEST_P(PreRenderTest, OnlyADifferenceBeyondTheToleranceIsWritten) {
    for (const ToleranceCase& c : kToleranceCases) {
        SCOPED_TRACE(c.what);
        KnotwellScene scene(GetParam());
        scene.AddMask(project::MaskOutline{{c.mask_vertex}, true});
        scene.Apply({.index = 0, .point = {8, 4}, .on = 1});
        EXPECT_EQ(CallsDuring(scene, "AEGP_SetStreamValue", [&] { PreRenderOk(scene); }), c.writes);
        EXPECT_TRUE(SameVertex(scene.OutlineOf(0).vertices[0], c.expected));
        EXPECT_EQ(scene.Finish(), "");
    }
}

TEST_P(PreRenderTest, AnOutlineWithoutVerticesIsLeftAlone) {
    for (const double on : {0.0, 1.0}) {
        SCOPED_TRACE(on);
        KnotwellScene scene(GetParam());
        scene.AddMask(project::MaskOutline{});
        scene.Apply({.index = 0, .no = 2, .point = {5, 5}, .on = on});
        for (const char* call : {"AEGP_GetMaskOutlineVertexInfo", "AEGP_SetStreamValue"}) {
            EXPECT_EQ(CallsDuring(scene, call, [&] { PreRenderOk(scene); }), 0) << call;
        }
        EXPECT_EQ(scene.Number(kKnotwellNo), 2);
        EXPECT_TRUE(scene.OutlineOf(0).vertices.empty());
        EXPECT_EQ(scene.Finish(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Generations, PreRenderTest,
                         ::testing::Values(Generation::kCurrent, Generation::kLegacy), test::GenerationName);

}  // namespace
}  // namespace knotwell
