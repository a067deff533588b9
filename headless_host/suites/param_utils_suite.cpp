// "PF Param Utils Suite" (versions 1 and 2 share the table): the shown
// state of parameters and the instance's parameter-state records.
#include "headless_host/driving/instance_call.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {

namespace {

// A PF_State the plug-in keeps in a host block shorter than the record
// (a placeholder) is refused before it is read or written.
bool StateFits(const char* call, const void* state) {
    Host& host = Host::Active();
    if (state && host.Fits(state, sizeof(PF_State))) return true;
    host.ledger().RecordFault(std::string(call) + ": the PF_State at " + Ledger::IdOf(state) +
                              " is null or shorter than " + std::to_string(sizeof(PF_State)) +
                              " bytes");
    return false;
}

PF_Err UpdateParamUI(PF_ProgPtr effect_ref, PF_ParamIndex index, const PF_ParamDef* def) {
    return CallOnInstance("PF_UpdateParamUI", effect_ref, [&](EffectInstance& instance) -> PF_Err {
        return def ? instance.UpdateParamUi(index, *def) : PF_Err_BAD_CALLBACK_PARAM;
    });
}

PF_Err GetCurrentState(PF_ProgPtr effect_ref, PF_State* state) {
    return CallOnInstance("PF_GetCurrentState", effect_ref, [&](EffectInstance& instance) -> PF_Err {
        if (!StateFits("PF_GetCurrentState", state)) return PF_Err_BAD_CALLBACK_PARAM;
        *state = instance.CurrentState();
        return PF_Err_NONE;
    });
}

PF_Err HasParamChanged(PF_ProgPtr effect_ref, const PF_State* state, PF_ParamIndex index,
                       PF_Boolean* changed) {
    return CallOnInstance("PF_HasParamChanged", effect_ref, [&](EffectInstance& instance) -> PF_Err {
        if (!StateFits("PF_HasParamChanged", state)) return PF_Err_BAD_CALLBACK_PARAM;
        return instance.HasChangedSince(*state, index, changed);
    });
}

}  // namespace

const PF_ParamUtilsSuite& ParamUtilsSuite() {
    static const PF_ParamUtilsSuite suite{UpdateParamUI, GetCurrentState, HasParamChanged};
    return suite;
}

}  // namespace knotwell::host
