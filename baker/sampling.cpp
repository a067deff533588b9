#include "baker/sampling.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "baker/keyframe_batch.h"
#include "vertex_editor/geometry.h"
#include "vertex_editor/params.h"

namespace knotwell {
namespace {

// The vertex a driver gives at `time`, from the values of its geometry
// streams there. They are read after expressions, so animated and
// expression-driven values are baked as they play. A RotoBezier mask keeps
// its own tangents.
PF_Err DriveVertex(const ActionContext& action, Driver& driver, const A_Time& time, bool roto_bezier,
                   AEGP_MaskVertex* vertex) {
    std::array<AEGP_StreamVal2, kKnotwellParamCount> v{};
    const PF_Err err = driver.geometry.ReadValues(action.plugin_id, time, false, v);
    if (err) return err;

    // Stream values of the popup and the check box are doubles; rounding
    // gives the item the control shows.
    const auto rounded = [](double value) { return std::floor(value + 0.5); };
    TangentControls controls;
    controls.form = rounded(v[kKnotwellCoordinate].one_d) == static_cast<double>(kKnotwellCartesian)
                        ? kKnotwellCartesian
                        : kKnotwellPolar;
    controls.tan_in = {v[kKnotwellTanIn].two_d.x, v[kKnotwellTanIn].two_d.y};
    controls.tan_out = {v[kKnotwellTanOut].two_d.x, v[kKnotwellTanOut].two_d.y};
    controls.in_radius = v[kKnotwellTanInRadius].one_d;
    controls.in_theta = RadiansFromDegrees(v[kKnotwellTanInAngle].one_d);
    controls.out_radius = v[kKnotwellTanOutRadius].one_d;
    controls.out_theta = RadiansFromDegrees(v[kKnotwellTanOutAngle].one_d);
    controls.symmetric = rounded(v[kKnotwellSymmetric].one_d) != 0.0;
    const AEGP_MaskVertex target =
        TargetVertex({v[kKnotwellPoint].two_d.x, v[kKnotwellPoint].two_d.y}, controls);

    if (roto_bezier) {
        vertex->x = target.x;
        vertex->y = target.y;
    } else {
        *vertex = target;
    }
    return PF_Err_NONE;
}

// One key at `time`: the mask's own shape there, every vertex read and
// written back, the driven ones overwritten.
PF_Err AddSample(const ActionContext& action, const KeyframeBatch& batch,
                 AEGP_StreamRefH outline_stream, const A_Time& time, DriverTable& drivers,
                 bool roto_bezier) {
    SuiteHandler& suites = action.suites;
    const AEGP_MaskOutlineSuite3* outlines = suites.MaskOutlineSuite();
    StreamValue shape(suites.StreamSuite());
    A_long key_index = 0;
    PF_Err err = shape.Fetch(action.plugin_id, outline_stream, time, true);
    if (!err) {
        err = suites.KeyframeSuite()->AEGP_AddKeyframes(batch.get(), AEGP_LTimeMode_LayerTime, &time,
                                                        &key_index);
    }
    const AEGP_MaskOutlineValH outline = shape.value().val.mask;
    for (std::size_t v = 0; v < drivers.size() && !err; ++v) {
        const auto vertex_number = static_cast<AEGP_VertexIndex>(v);
        AEGP_MaskVertex vertex{};
        err = outlines->AEGP_GetMaskOutlineVertexInfo(outline, vertex_number, &vertex);
        if (!err && drivers[v].ref) err = DriveVertex(action, drivers[v], time, roto_bezier, &vertex);
        if (!err) err = outlines->AEGP_SetMaskOutlineVertexInfo(outline, vertex_number, &vertex);
    }
    if (!err) err = suites.KeyframeSuite()->AEGP_SetAddKeyframe(batch.get(), key_index, &shape.value());
    KeepFirst(err, shape.Release());
    return err;
}

}  // namespace

PF_Err SampleMask(const ActionContext& action, AEGP_StreamRefH outline_stream,
                  DriverTable& drivers, bool roto_bezier) {
    const PF_InData* in_data = action.in_data;
    KeyframeBatch batch(action.suites.KeyframeSuite());
    PF_Err err = batch.Start(outline_stream);
    // Counted wide so the last step past the duration cannot overflow.
    for (std::int64_t t = 0; !err && t < in_data->total_time; t += in_data->time_step) {
        const A_Time time{static_cast<A_long>(t), in_data->time_scale};
        err = AddSample(action, batch, outline_stream, time, drivers, roto_bezier);
    }
    // Keys reach the mask only from a complete sampling.
    KeepFirst(err, batch.End(!err));
    return err;
}

}  // namespace knotwell
