// KnotwellMaker's smart pre-render: passes its input through, keeps "Index"
// within the layer's masks and, with "Make" on "Execute", runs the make.
#include "frame/action_context.h"
#include "frame/effect.h"
#include "frame/param_checkout.h"
#include "frame/param_setup.h"
#include "frame/pre_render_frame.h"
#include "frame/suite_handler.h"
#include "maker/make.h"
#include "maker/params.h"
#include "maker/pre_render_data.h"
#include "vertex_editor/geometry.h"

namespace knotwell {
namespace {

void FillRecord(const PF_InData* in_data, const ParamCheckout& p, MakerPreRenderData* d) {
    *d = MakerPreRenderData{DownsampleRatio(in_data->downsample_x),
                            DownsampleRatio(in_data->downsample_y),
                            p[kMakerIndex].u.sd.value,
                            p[kMakerAll].u.bd.value,
                            p[kMakerBaker].u.bd.value,
                            p[kMakerMake].u.pd.value};
}

// "Index" naming a mask the layer does not have is lowered to the last
// mask, -1 on a layer without masks.
PF_Err ClampIndex(const ActionContext& action, A_long mask_count, MakerPreRenderData* d) {
    if (d->index + 1 <= mask_count) return PF_Err_NONE;
    d->index = mask_count - 1;
    return WriteOwnParam(action, kMakerIndex, d->index);
}

PF_Err Act(const ActionContext& action, A_long mask_count, MakerPreRenderData* d,
           PF_OutData* out_data) {
    PF_Err err = ClampIndex(action, mask_count, d);
    if (err || d->make != kActionExecute) return err;
    if (mask_count > 0 && (d->index >= 0 || d->all)) return Make(action, *d, mask_count, out_data);
    // Nothing to make: the button goes back all the same.
    err = WriteOwnParam(action, kMakerMake, kActionIdle);
    out_data->out_flags |= PF_OutFlag_REFRESH_UI;
    return err;
}

}  // namespace

PF_Err effect::PreRender(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra) {
    SuiteHandler suites(in_data->pica_basicP);
    return PassThroughPreRender<MakerPreRenderData>(
        suites, in_data, extra, kMakerMake,
        [&](const ParamCheckout& params, MakerPreRenderData* d) { FillRecord(in_data, params, d); },
        [&](const GlobalRecord& global, MakerPreRenderData& d) {
            EffectRef self(suites.EffectSuite2()->AEGP_DisposeEffect);
            AEGP_LayerH layer = nullptr;
            A_long mask_count = 0;
            PF_Err err = FindOwnLayer(suites, in_data, global.plugin_id, self, &layer, &mask_count);
            // After a failure here the make does not start, so no notice is given.
            if (!err) {
                const ActionContext action{suites, in_data, global.plugin_id, self.get(), layer,
                                           A_Time{in_data->current_time, in_data->time_scale}};
                err = Act(action, mask_count, &d, out_data);
            }
            KeepFirst(err, self.Release());
            return err;
        });
}

}  // namespace knotwell
