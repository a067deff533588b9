#include "frame/action_context.h"

#include "frame/param_write.h"

namespace knotwell {

PF_Err FindOwnLayer(SuiteHandler& suites, const PF_InData* in_data, AEGP_PluginID plugin_id,
                    EffectRef& self, AEGP_LayerH* layer, A_long* mask_count) {
    const AEGP_PFInterfaceSuite1* pf_interface = suites.PFInterfaceSuite();
    *mask_count = 0;
    PF_Err err = pf_interface->AEGP_GetNewEffectForEffect(plugin_id, in_data->effect_ref, self.out());
    if (!err) err = pf_interface->AEGP_GetEffectLayer(in_data->effect_ref, layer);
    if (!err) err = suites.LayerMaskSuite()->AEGP_GetLayerNumMasks(*layer, mask_count);
    return err;
}

PF_Err WriteOwnParam(const ActionContext& action, PF_ParamIndex index, double number) {
    return WriteParam(action.suites, action.plugin_id, action.self, action.now, index, number);
}

}  // namespace knotwell
