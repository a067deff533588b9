// "AEGP PF Interface Suite" 1: from an effect_ref to the project.
#include "headless_host/suites/aegp_suites.h"
#include "headless_host/suites/aegp_support.h"

namespace knotwell::host {

namespace {

EffectInstance* InstanceFor(Host& host, PF_ProgPtr effect_ref, const char* call) {
    EffectInstance* instance = host.InstanceOf(effect_ref);
    if (!instance) Refuse(host, call, "unknown effect_ref " + Ledger::IdOf(effect_ref));
    return instance;
}

// The layer needs no disposal: it belongs to the project.
A_Err GetEffectLayer(PF_ProgPtr effect_ref, AEGP_LayerH* layerPH) {
    return AegpCall("AEGP_GetEffectLayer", [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, "AEGP_GetEffectLayer", {layerPH})) return err;
        EffectInstance* instance = InstanceFor(host, effect_ref, "AEGP_GetEffectLayer");
        if (!instance) return PF_Err_BAD_CALLBACK_PARAM;
        *layerPH = reinterpret_cast<AEGP_LayerH>(&instance->layer());
        return PF_Err_NONE;
    });
}

A_Err GetNewEffectForEffect(AEGP_PluginID plugin_id, PF_ProgPtr effect_ref, AEGP_EffectRefH* effectPH) {
    return AegpCall("AEGP_GetNewEffectForEffect", [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, "AEGP_GetNewEffectForEffect", {effectPH}, plugin_id)) return err;
        EffectInstance* instance = InstanceFor(host, effect_ref, "AEGP_GetNewEffectForEffect");
        if (!instance) return PF_Err_BAD_CALLBACK_PARAM;
        *effectPH = NewEffectRef(host, *instance, "AEGP_GetNewEffectForEffect");
        return PF_Err_NONE;
    });
}

}  // namespace

const AEGP_PFInterfaceSuite1& PFInterfaceSuite() {
    static const AEGP_PFInterfaceSuite1 suite{GetEffectLayer, GetNewEffectForEffect};
    return suite;
}

}  // namespace knotwell::host
