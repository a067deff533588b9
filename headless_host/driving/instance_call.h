// The common door of the callbacks that act on one effect instance: the
// call guard, then the instance behind effect_ref (an unknown reference is
// a recorded fault and PF_Err_BAD_CALLBACK_PARAM). An injected failure is
// returned without acting, except by a give-back, which still acts.
#pragma once

#include <string>

#include "headless_host/driving/effect_instance.h"
#include "headless_host/host.h"

namespace knotwell::host {

template <class Action>
PF_Err CallOnInstance(const char* name, PF_ProgPtr effect_ref, Action&& action,
                      CallKind kind = CallKind::kUse) {
    Host& host = Host::Active();
    const CallVerdict verdict = host.calls().Enter(name);
    if (verdict.Skips(kind)) return verdict.error;
    EffectInstance* instance = host.InstanceOf(effect_ref);
    if (!instance) {
        host.ledger().RecordFault(std::string(name) + ": unknown effect_ref " + Ledger::IdOf(effect_ref));
        return PF_Err_BAD_CALLBACK_PARAM;
    }
    return verdict.Over(action(*instance));
}

}  // namespace knotwell::host
