// KnotwellBaker's smart pre-render: passes its input through and, with
// "Bake" on "Execute", runs the bake.
#include "baker/bake.h"
#include "baker/params.h"
#include "baker/pre_render_data.h"
#include "frame/action_context.h"
#include "frame/effect.h"
#include "frame/param_checkout.h"
#include "frame/param_setup.h"
#include "frame/pre_render_frame.h"
#include "frame/suite_handler.h"
#include "vertex_editor/geometry.h"

namespace knotwell {
namespace {

void FillRecord(const PF_InData* in_data, const ParamCheckout& p, BakerPreRenderData* d) {
    *d = BakerPreRenderData{DownsampleRatio(in_data->downsample_x),
                            DownsampleRatio(in_data->downsample_y),
                            p[kBakerIndex].u.sd.value,
                            p[kBakerAll].u.bd.value,
                            p[kBakerBake].u.pd.value};
}

bool BakeRequested(const BakerPreRenderData& d, A_long mask_count) {
    return d.bake == kActionExecute && mask_count > 0 && (d.index < mask_count || d.all);
}

}  // namespace

PF_Err effect::PreRender(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra) {
    SuiteHandler suites(in_data->pica_basicP);
    return PassThroughPreRender<BakerPreRenderData>(
        suites, in_data, extra, kBakerBake,
        [&](const ParamCheckout& params, BakerPreRenderData* d) { FillRecord(in_data, params, d); },
        [&](const GlobalRecord& global, BakerPreRenderData& d) {
            EffectRef self(suites.EffectSuite3()->AEGP_DisposeEffect);
            AEGP_LayerH layer = nullptr;
            A_long mask_count = 0;
            PF_Err err = FindOwnLayer(suites, in_data, global.plugin_id, self, &layer, &mask_count);
            if (!err && BakeRequested(d, mask_count)) {
                const ActionContext action{suites, in_data, global.plugin_id, self.get(), layer,
                                           A_Time{in_data->current_time, in_data->time_scale}};
                err = Bake(action, d, mask_count, out_data);
            }
            KeepFirst(err, self.Release());
            return err;
        });
}

}  // namespace knotwell
