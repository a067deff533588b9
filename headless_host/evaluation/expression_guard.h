// A control's expression can fail while the host serves a plug-in's call
// (AEGP_GetNewStreamValue, checkout_param). The failure must not unwind
// through the plug-in's frames: the call fails with kExpressionFailed and
// the message, which names the layer, effect and control, is kept for the
// user in Host::expression_errors().
#pragma once

#include <exception>

#include "frame/host/ae_types.h"
#include "headless_host/host.h"

namespace knotwell::host {

// The value the plug-in asked for cannot be given: the same code as for
// any other unusable argument of a callback.
inline constexpr PF_Err kExpressionFailed = PF_Err_BAD_CALLBACK_PARAM;

// Runs `evaluate`; an exception from it is recorded and becomes
// kExpressionFailed.
template <class Evaluate>
PF_Err GuardExpression(Host& host, Evaluate&& evaluate) {
    try {
        evaluate();
        return PF_Err_NONE;
    } catch (const std::exception& failed) {
        host.RecordExpressionError(failed.what());
        return kExpressionFailed;
    }
}

}  // namespace knotwell::host
