#include "headless_host/driving/callbacks.h"

#include "headless_host/driving/instance_call.h"

namespace knotwell::host {

namespace {

constexpr const char* kParamCheckout = "param checkout";

PF_Err AddParam(PF_ProgPtr effect_ref, PF_ParamIndex index, PF_ParamDefPtr def) {
    return CallOnInstance("add_param", effect_ref, [&](EffectInstance& instance) -> PF_Err {
        return def ? instance.AddParam(index, *def) : PF_Err_BAD_CALLBACK_PARAM;
    });
}

PF_Err CheckoutParam(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long what_time, A_long,
                     A_u_long, PF_ParamDef* param) {
    return CallOnInstance("checkout_param", effect_ref, [&](EffectInstance& instance) -> PF_Err {
        const PF_Err err = instance.CheckoutParam(index, what_time, param);
        if (err == PF_Err_NONE) Host::Active().ledger().Open(kParamCheckout, param, "checkout_param");
        return err;
    });
}

PF_Err CheckinParam(PF_ProgPtr effect_ref, PF_ParamDef* param) {
    return CallOnInstance(
        "checkin_param", effect_ref,
        [&](EffectInstance&) -> PF_Err {
            return Host::Active().ledger().Close(kParamCheckout, param, "checkin_param")
                       ? PF_Err_NONE
                       : PF_Err_BAD_CALLBACK_PARAM;
        },
        CallKind::kGiveBack);
}

PF_Err Abort(PF_ProgPtr effect_ref) {
    return CallOnInstance("abort", effect_ref, [](EffectInstance&) -> PF_Err { return PF_Err_NONE; });
}

PF_Err CheckoutLayer(PF_ProgPtr effect_ref, PF_ParamIndex index, A_long checkout_id,
                     const PF_RenderRequest* request, A_long, A_long, A_u_long,
                     PF_CheckoutResult* result) {
    return CallOnInstance("checkout_layer", effect_ref, [&](EffectInstance& instance) -> PF_Err {
        return request ? instance.CheckoutLayer(index, checkout_id, result)
                       : PF_Err_BAD_CALLBACK_PARAM;
    });
}

PF_Err CheckoutLayerPixels(PF_ProgPtr effect_ref, A_long checkout_id, PF_EffectWorld** pixels) {
    return CallOnInstance("checkout_layer_pixels", effect_ref, [&](EffectInstance& instance) -> PF_Err {
        return instance.CheckoutLayerPixels(checkout_id, pixels);
    });
}

PF_Err CheckinLayerPixels(PF_ProgPtr effect_ref, A_long checkout_id) {
    return CallOnInstance("checkin_layer_pixels", effect_ref, [&](EffectInstance& instance) -> PF_Err {
        PF_EffectWorld* ignored = nullptr;
        return instance.CheckoutLayerPixels(checkout_id, &ignored);
    });
}

PF_Err CheckoutOutput(PF_ProgPtr effect_ref, PF_EffectWorld** output) {
    return CallOnInstance("checkout_output", effect_ref, [&](EffectInstance& instance) -> PF_Err {
        return instance.CheckoutOutput(output);
    });
}

}  // namespace

PF_InteractCallbacks InteractCallbacks() {
    return {CheckoutParam, CheckinParam, AddParam, Abort};
}

PF_PreRenderCallbacks& PreRenderCallbacks() {
    static PF_PreRenderCallbacks callbacks{CheckoutLayer};
    return callbacks;
}

PF_SmartRenderCallbacks& SmartRenderCallbacks() {
    static PF_SmartRenderCallbacks callbacks{CheckoutLayerPixels, CheckinLayerPixels, CheckoutOutput};
    return callbacks;
}

}  // namespace knotwell::host
