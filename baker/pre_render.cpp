// KnotwellBaker's smart pre-render: passes its input through and, with
// "Bake" on "Execute", runs the bake.
#include "baker/bake.h"
#include "baker/params.h"
#include "baker/pre_render_data.h"
#include "frame/action_context.h"
#include "frame/effect.h"
#include "frame/frame_records.h"
#include "frame/param_checkout.h"
#include "frame/param_setup.h"
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
    auto* record = MakePreRenderRecord<BakerPreRenderData>(suites, in_data, extra);
    if (!record) return PF_Err_OUT_OF_MEMORY;

    PF_CheckoutResult input{};
    {
        ParamCheckout params(in_data);
        PF_Err err = params.CheckOut(kBakerBake);
        if (!err) err = CheckoutInputLayer(in_data, extra, &input);
        if (err) return err;
        FillRecord(in_data, params, record);
    }

    const GlobalRecord* global = FindGlobalRecord(in_data);
    PF_Err err = global ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
    EffectRef self(suites.EffectSuite3()->AEGP_DisposeEffect);
    AEGP_LayerH layer = nullptr;
    A_long mask_count = 0;
    if (!err) err = FindOwnLayer(suites, in_data, global->plugin_id, self, &layer, &mask_count);
    if (!err && BakeRequested(*record, mask_count)) {
        const ActionContext action{suites, in_data, global->plugin_id, self.get(), layer,
                                   A_Time{in_data->current_time, in_data->time_scale}};
        err = Bake(action, *record, mask_count, out_data);
    }
    KeepFirst(err, self.Release());
    ReportInputRects(input, extra->output);
    return err;
}

}  // namespace knotwell
