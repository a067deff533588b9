// Conversions between Knotwell's controls and a mask vertex. Pure functions
// on doubles, shared by the vertex editor's pre-render, the maker and the
// baker so that the polar rule and the merge exist only here.
#pragma once

#include "frame/host/aegp_suites.h"

namespace knotwell {

// The double nearest to pi / 180.
inline constexpr double kRadiansPerDegree = 0.017453292519943295;

// Largest difference, in layer pixels, at which a vertex component still
// counts as unchanged.
inline constexpr double kVertexTolerance = 0.0001;

struct Vector2 {
    double x = 0.0;
    double y = 0.0;
};

// A tangent as the radius and angle controls show it: the angle in degrees,
// 0 pointing up, growing clockwise.
struct Polar {
    double radius = 0.0;
    double degrees = 0.0;
};

// The controls that choose the tangents, already in layer pixels and
// radians, whichever way they were read (checked-out parameters or stream
// values).
struct TangentControls {
    A_long form = 1;  // 1 Cartesian, anything else polar
    Vector2 tan_in;
    Vector2 tan_out;
    double in_radius = 0.0;
    double in_theta = 0.0;
    double out_radius = 0.0;
    double out_theta = 0.0;
    A_long symmetric = 0;
};

struct Tangents {
    Vector2 in;
    Vector2 out;
};

// The seven geometry controls as stream values: full-resolution pixels and
// degrees.
struct GeometryControls {
    Vector2 point;
    Vector2 tan_in;
    Vector2 tan_out;
    Polar in;
    Polar out;
};

struct MergeResult {
    AEGP_MaskVertex vertex;
    bool changed;
};

// Ratio of the render resolution to full resolution along one axis.
double DownsampleRatio(const PF_RationalScale& downsample);

// A checked-out point coordinate (render resolution, 16.16) in layer pixels.
double PixelFromFixed(PF_Fixed value, double ratio);

// Control angles (0 up, clockwise) to radians from the positive x axis in
// the y-down frame.
double RadiansFromDegrees(double degrees);
double RadiansFromFixedAngle(PF_Fixed angle);

Vector2 TangentFromPolar(double radius, double theta);

// Inverse of the polar rule; the angle lies in (-90, 270] and is 0 for a
// zero-length tangent.
Polar PolarFromTangent(Vector2 tangent);

Tangents TangentsFromControls(const TangentControls& controls);

AEGP_MaskVertex TargetVertex(Vector2 point, const TangentControls& controls);

GeometryControls ControlsFromVertex(const AEGP_MaskVertex& vertex);

// Takes the target's components from the first one that differs by more
// than the tolerance on; a RotoBezier mask only compares and takes the
// position.
MergeResult MergeVertex(const AEGP_MaskVertex& current, const AEGP_MaskVertex& target,
                        bool roto_bezier);

}  // namespace knotwell
