// Knotwell's smart pre-render: links one vertex of one mask of its own layer
// with its controls at the current time. With "ON" set the controls drive
// the vertex; with it cleared they follow it. Along the way "Index" and "No"
// are pulled into range and written back.
#include "frame/action_context.h"
#include "frame/aegp_refs.h"
#include "frame/mask_outline.h"
#include "frame/effect.h"
#include "frame/param_checkout.h"
#include "frame/param_write.h"
#include "frame/pre_render_frame.h"
#include "frame/suite_handler.h"
#include "vertex_editor/geometry.h"
#include "vertex_editor/params.h"

namespace knotwell {
namespace {

// The controls as checked out for this pre-render, in render-resolution
// units; the pre-render takes its decisions from this record.
struct VertexPreRenderData {
    double downsample_x;
    double downsample_y;
    A_long index;
    A_long vertex;
    PF_Fixed point_x;
    PF_Fixed point_y;
    A_long form;
    PF_Fixed in_x;
    PF_Fixed in_y;
    PF_Fixed out_x;
    PF_Fixed out_y;
    double in_radius;
    double in_theta;
    double out_radius;
    double out_theta;
    A_long symmetric;
    A_long link;
};

void FillRecord(const PF_InData* in_data, const ParamCheckout& p, VertexPreRenderData* d) {
    *d = VertexPreRenderData{};
    d->downsample_x = DownsampleRatio(in_data->downsample_x);
    d->downsample_y = DownsampleRatio(in_data->downsample_y);
    d->index = p[kKnotwellIndex].u.sd.value;
    d->vertex = p[kKnotwellNo].u.sd.value;
    d->point_x = p[kKnotwellPoint].u.td.x_value;
    d->point_y = p[kKnotwellPoint].u.td.y_value;
    d->form = p[kKnotwellCoordinate].u.pd.value;
    d->in_x = p[kKnotwellTanIn].u.td.x_value;
    d->in_y = p[kKnotwellTanIn].u.td.y_value;
    d->out_x = p[kKnotwellTanOut].u.td.x_value;
    d->out_y = p[kKnotwellTanOut].u.td.y_value;
    d->in_radius = p[kKnotwellTanInRadius].u.fs_d.value;
    d->in_theta = RadiansFromFixedAngle(p[kKnotwellTanInAngle].u.ad.value);
    d->out_radius = p[kKnotwellTanOutRadius].u.fs_d.value;
    d->out_theta = RadiansFromFixedAngle(p[kKnotwellTanOutAngle].u.ad.value);
    d->symmetric = p[kKnotwellSymmetric].u.bd.value;
    d->link = p[kKnotwellOn].u.bd.value;
}

AEGP_MaskVertex TargetFromRecord(const VertexPreRenderData& d) {
    TangentControls controls;
    controls.form = d.form;
    controls.tan_in = {PixelFromFixed(d.in_x, d.downsample_x), PixelFromFixed(d.in_y, d.downsample_y)};
    controls.tan_out = {PixelFromFixed(d.out_x, d.downsample_x), PixelFromFixed(d.out_y, d.downsample_y)};
    controls.in_radius = d.in_radius;
    controls.in_theta = d.in_theta;
    controls.out_radius = d.out_radius;
    controls.out_theta = d.out_theta;
    controls.symmetric = d.symmetric;
    const Vector2 point{PixelFromFixed(d.point_x, d.downsample_x),
                        PixelFromFixed(d.point_y, d.downsample_y)};
    return TargetVertex(point, controls);
}

PF_Err Drive(const ActionContext& action, AEGP_MaskRefH mask, AEGP_StreamRefH outline_stream,
             AEGP_StreamValue2& outline, A_long vertex_number, const AEGP_MaskVertex& vertex,
             const AEGP_MaskVertex& target) {
    A_Boolean roto_bezier = false;
    PF_Err err = action.suites.LayerMaskSuite()->AEGP_GetMaskIsRotoBezier(mask, &roto_bezier);
    if (err) return err;
    const MergeResult merged = MergeVertex(vertex, target, roto_bezier != 0);
    if (!merged.changed) return PF_Err_NONE;
    err = action.suites.MaskOutlineSuite()->AEGP_SetMaskOutlineVertexInfo(outline.val.mask,
                                                                        vertex_number, &merged.vertex);
    if (!err) {
        err = action.suites.StreamSuite()->AEGP_SetStreamValue(action.plugin_id, outline_stream, &outline);
    }
    return err;
}

PF_Err Follow(const ActionContext& action, const AEGP_MaskVertex& vertex) {
    const GeometryControls c = ControlsFromVertex(vertex);
    const ParamWrite writes[] = {
        {kKnotwellPoint, c.point.x, c.point.y, true},
        {kKnotwellTanIn, c.tan_in.x, c.tan_in.y, true},
        {kKnotwellTanOut, c.tan_out.x, c.tan_out.y, true},
        {kKnotwellTanInRadius, c.in.radius},
        {kKnotwellTanInAngle, c.in.degrees},
        {kKnotwellTanOutRadius, c.out.radius},
        {kKnotwellTanOutAngle, c.out.degrees},
    };
    return WriteParams(action.suites, action.plugin_id, action.self, action.now, writes);
}

// The mask the record's "Index" addresses (pulled into range), its vertex
// (likewise), and the link in the record's direction.
PF_Err LinkVertex(const ActionContext& action, A_long mask_count,
                  const VertexPreRenderData& d) {
    SuiteHandler& suites = action.suites;
    const AEGP_MaskOutlineSuite3* outlines = suites.MaskOutlineSuite();
    PF_Err err = PF_Err_NONE;

    A_long mask_index = d.index;
    if (mask_index + 1 > mask_count) {
        mask_index = mask_count - 1;
        err = WriteOwnParam(action, kKnotwellIndex, mask_index);
    }
    OpenedMask opened(suites);
    if (!err) err = OpenMask(action, mask_index, opened);
    const A_long last_vertex = opened.vertex_count - 1;
    // An outline without vertices has nothing to link.
    if (!err && last_vertex >= 0) {
        A_long vertex_number = d.vertex;
        if (vertex_number > last_vertex) {
            vertex_number = last_vertex;
            err = WriteOwnParam(action, kKnotwellNo, vertex_number);
        }
        AEGP_MaskVertex vertex{};
        if (!err) {
            err = outlines->AEGP_GetMaskOutlineVertexInfo(opened.outline.value().val.mask, vertex_number,
                                                          &vertex);
        }
        if (!err) {
            err = d.link ? Drive(action, opened.mask.get(), opened.stream.get(), opened.outline.value(),
                                 vertex_number, vertex, TargetFromRecord(d))
                         : Follow(action, vertex);
        }
    }
    KeepFirst(err, opened.Release());
    return err;
}

// A layer without masks leaves the effect idle: no mask, link switched off.
PF_Err ResetToIdle(const ActionContext& action) {
    const ParamWrite writes[] = {{kKnotwellIndex, -1.0}, {kKnotwellOn, 0.0}};
    return WriteParams(action.suites, action.plugin_id, action.self, action.now, writes);
}

}  // namespace

PF_Err effect::PreRender(PF_InData* in_data, PF_OutData*, PF_PreRenderExtra* extra) {
    SuiteHandler suites(in_data->pica_basicP);
    return PassThroughPreRender<VertexPreRenderData>(
        suites, in_data, extra, kKnotwellOn,
        [&](const ParamCheckout& params, VertexPreRenderData* d) { FillRecord(in_data, params, d); },
        [&](const GlobalRecord& global, const VertexPreRenderData& d) {
            EffectRef self(suites.EffectSuite3()->AEGP_DisposeEffect);
            PF_Err err = suites.PFInterfaceSuite()->AEGP_GetNewEffectForEffect(
                global.plugin_id, in_data->effect_ref, self.out());
            if (!err && d.index >= 0) {
                AEGP_LayerH layer = nullptr;
                A_long mask_count = 0;
                err = suites.PFInterfaceSuite()->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
                if (!err) err = suites.LayerMaskSuite()->AEGP_GetLayerNumMasks(layer, &mask_count);
                const ActionContext action{suites, in_data, global.plugin_id, self.get(), layer,
                                           A_Time{in_data->current_time, in_data->time_scale}};
                if (!err) err = mask_count <= 0 ? ResetToIdle(action) : LinkVertex(action, mask_count, d);
            }
            KeepFirst(err, self.Release());
            return err;
        });
}

}  // namespace knotwell
