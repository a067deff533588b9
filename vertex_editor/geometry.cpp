#include "vertex_editor/geometry.h"

#include <cmath>
#include <cstddef>
#include <iterator>

#include "vertex_editor/params.h"

namespace knotwell {

double DownsampleRatio(const PF_RationalScale& downsample) {
    return static_cast<double>(downsample.num) / static_cast<double>(downsample.den);
}

double PixelFromFixed(PF_Fixed value, double ratio) {
    return static_cast<double>(value) / PF_Fixed_ONE / ratio;
}

double RadiansFromDegrees(double degrees) {
    return (degrees - 90) * kRadiansPerDegree;
}

double RadiansFromFixedAngle(PF_Fixed angle) {
    return RadiansFromDegrees(static_cast<double>(angle) / PF_Fixed_ONE);
}

Vector2 TangentFromPolar(double radius, double theta) {
    return {radius * std::cos(theta), radius * std::sin(theta)};
}

Polar PolarFromTangent(Vector2 tangent) {
    const double radius = std::hypot(tangent.x, tangent.y);
    if (radius == 0.0) {
        return {0.0, 0.0};
    }
    // fmod keeps the sign of atan2, so up-left stays negative instead of
    // folding past 270.
    return {radius, std::fmod(std::atan2(tangent.y, tangent.x) / kRadiansPerDegree + 90, 360)};
}

Tangents TangentsFromControls(const TangentControls& controls) {
    if (controls.form == kKnotwellCartesian) {
        return {controls.tan_in, controls.tan_out};
    }
    const Vector2 in = TangentFromPolar(controls.in_radius, controls.in_theta);
    if (controls.symmetric != 0) {
        return {in, {-in.x, -in.y}};
    }
    return {in, TangentFromPolar(controls.out_radius, controls.out_theta)};
}

AEGP_MaskVertex TargetVertex(Vector2 point, const TangentControls& controls) {
    const Tangents tangents = TangentsFromControls(controls);
    return {point.x, point.y, tangents.in.x, tangents.in.y, tangents.out.x, tangents.out.y};
}

GeometryControls ControlsFromVertex(const AEGP_MaskVertex& vertex) {
    const Vector2 tan_in{vertex.tan_in_x, vertex.tan_in_y};
    const Vector2 tan_out{vertex.tan_out_x, vertex.tan_out_y};
    return {{vertex.x, vertex.y}, tan_in, tan_out, PolarFromTangent(tan_in),
            PolarFromTangent(tan_out)};
}

MergeResult MergeVertex(const AEGP_MaskVertex& current, const AEGP_MaskVertex& target,
                        bool roto_bezier) {
    static constexpr A_FpLong AEGP_MaskVertex::*kComponents[] = {
        &AEGP_MaskVertex::x,        &AEGP_MaskVertex::y,        &AEGP_MaskVertex::tan_in_x,
        &AEGP_MaskVertex::tan_in_y, &AEGP_MaskVertex::tan_out_x, &AEGP_MaskVertex::tan_out_y};
    // A RotoBezier mask computes its own tangents: only the position counts.
    const std::size_t visited = roto_bezier ? 2 : std::size(kComponents);

    MergeResult result{current, false};
    for (std::size_t i = 0; i < visited; ++i) {
        const auto component = kComponents[i];
        if (result.changed || std::fabs(target.*component - current.*component) > kVertexTolerance) {
            result.vertex.*component = target.*component;
            result.changed = true;
        }
    }
    return result;
}

}  // namespace knotwell
