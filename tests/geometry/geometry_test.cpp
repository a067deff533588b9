#include "vertex_editor/geometry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "vertex_editor/params.h"

namespace knotwell {
namespace {

constexpr double kNear = 1e-12;

void ExpectVertexEq(const AEGP_MaskVertex& actual, const AEGP_MaskVertex& expected) {
    EXPECT_EQ(actual.x, expected.x);
    EXPECT_EQ(actual.y, expected.y);
    EXPECT_EQ(actual.tan_in_x, expected.tan_in_x);
    EXPECT_EQ(actual.tan_in_y, expected.tan_in_y);
    EXPECT_EQ(actual.tan_out_x, expected.tan_out_x);
    EXPECT_EQ(actual.tan_out_y, expected.tan_out_y);
}

struct PolarCase {
    double radius;
    double degrees;
    Vector2 tangent;
};

// Each row holds in both directions: polar to tangent and back.
const PolarCase kPolarCases[] = {
    {10, 0, {0, -10}},               // up
    {10, 90, {10, 0}},               // right
    {10, 180, {0, 10}},              // down
    {10, 270, {-10, 0}},             // left
    {1, 0, {0, -1}},
    {1, 90, {1, 0}},
    {1, 180, {0, 1}},
    {1, 270, {-1, 0}},
    {std::sqrt(2.0), -45, {-1, -1}},  // up-left stays negative, not 315
    {0, 0, {0, 0}},                   // no direction: angle 0
};

TEST(PolarTest, ConvertsBothWays) {
    for (const PolarCase& c : kPolarCases) {
        SCOPED_TRACE(testing::Message() << "radius " << c.radius << " angle " << c.degrees);
        const double theta = RadiansFromDegrees(c.degrees);
        EXPECT_DOUBLE_EQ(RadiansFromFixedAngle(static_cast<PF_Fixed>(c.degrees * 65536)), theta);

        const Vector2 tangent = TangentFromPolar(c.radius, theta);
        EXPECT_NEAR(tangent.x, c.tangent.x, kNear);
        EXPECT_NEAR(tangent.y, c.tangent.y, kNear);

        const Polar polar = PolarFromTangent(c.tangent);
        EXPECT_DOUBLE_EQ(polar.radius, c.radius);
        EXPECT_NEAR(polar.degrees, c.degrees, kNear);
    }
}

TEST(TargetVertexTest, HalfResolutionPointScalesUpAndRadiusStays) {
    const double ratio = DownsampleRatio({1, 2});
    ASSERT_EQ(ratio, 0.5);
    TangentControls controls;
    controls.form = kKnotwellPolar;
    controls.in_radius = 10;
    controls.in_theta = RadiansFromDegrees(90);
    controls.out_radius = 10;
    controls.out_theta = RadiansFromDegrees(90);

    const Vector2 point{PixelFromFixed(50 * 65536, ratio), PixelFromFixed(25 * 65536, ratio)};
    const AEGP_MaskVertex vertex = TargetVertex(point, controls);

    EXPECT_EQ(vertex.x, 100);
    EXPECT_EQ(vertex.y, 50);
    EXPECT_NEAR(vertex.tan_in_x, 10, kNear);
    EXPECT_NEAR(vertex.tan_out_x, 10, kNear);
}

TEST(TangentsTest, SymmetricPolarMirrorsTheInTangent) {
    TangentControls controls;
    controls.form = kKnotwellPolar;
    const Polar in = PolarFromTangent({3, -4});
    controls.in_radius = in.radius;
    controls.in_theta = RadiansFromDegrees(in.degrees);
    controls.out_radius = 7;
    controls.out_theta = RadiansFromDegrees(123);
    controls.symmetric = 1;

    const Tangents tangents = TangentsFromControls(controls);

    EXPECT_NEAR(tangents.in.x, 3, kNear);
    EXPECT_NEAR(tangents.in.y, -4, kNear);
    EXPECT_NEAR(tangents.out.x, -3, kNear);
    EXPECT_NEAR(tangents.out.y, 4, kNear);
}

TEST(TangentsTest, CartesianTakesTheVectorsAsTheyStand) {
    TangentControls controls;
    controls.form = kKnotwellCartesian;
    controls.tan_in = {1, 2};
    controls.tan_out = {7, 8};
    controls.in_radius = 5;
    controls.symmetric = 1;

    const Tangents tangents = TangentsFromControls(controls);

    EXPECT_EQ(tangents.in.x, 1);
    EXPECT_EQ(tangents.in.y, 2);
    EXPECT_EQ(tangents.out.x, 7);
    EXPECT_EQ(tangents.out.y, 8);
}

TEST(ControlsFromVertexTest, CopiesPositionAndTangentsAndAddsTheirPolarForm) {
    const GeometryControls controls = ControlsFromVertex({12, 34, 0, 0, 0, 5});

    EXPECT_EQ(controls.point.x, 12);
    EXPECT_EQ(controls.point.y, 34);
    EXPECT_EQ(controls.tan_in.x, 0);
    EXPECT_EQ(controls.tan_in.y, 0);
    EXPECT_EQ(controls.tan_out.x, 0);
    EXPECT_EQ(controls.tan_out.y, 5);
    EXPECT_EQ(controls.in.radius, 0);
    EXPECT_EQ(controls.in.degrees, 0);
    EXPECT_EQ(controls.out.radius, 5);
    EXPECT_NEAR(controls.out.degrees, 180, kNear);
}

struct MergeCase {
    const char* name;
    AEGP_MaskVertex target;
    bool roto_bezier;
    AEGP_MaskVertex expected;
    bool changed;
};

constexpr AEGP_MaskVertex kCurrent{10, 20, 1, 2, 3, 4};

const MergeCase kMergeCases[] = {
    {"all within tolerance", {10.00005, 19.99995, 1.00009, 2, 3, 3.99991}, false, kCurrent, false},
    {"y alone differs: x kept, y and tangents taken",
     {10.00005, 21, 1, 2, 3, 4.00001}, false, {10, 21, 1, 2, 3, 4.00001}, true},
    {"tangent differs", {10, 20, 1, 2, 9, 4}, false, {10, 20, 1, 2, 9, 4}, true},
    {"RotoBezier ignores tangents", {10, 20, -5, -5, -5, -5}, true, kCurrent, false},
    {"RotoBezier takes position only", {11, 20, -5, -5, -5, -5}, true, {11, 20, 1, 2, 3, 4}, true},
};

TEST(MergeVertexTest, TakesTargetFromFirstDifferenceOn) {
    for (const MergeCase& c : kMergeCases) {
        SCOPED_TRACE(c.name);
        const MergeResult result = MergeVertex(kCurrent, c.target, c.roto_bezier);
        EXPECT_EQ(result.changed, c.changed);
        ExpectVertexEq(result.vertex, c.expected);
    }
}

}  // namespace
}  // namespace knotwell
