// The callback tables the host passes with its commands: add_param and the
// parameter checkouts in PF_InData, and the layer and output checkouts of
// the smart pre-render and render.
#pragma once

#include "frame/host/pf_smart_render.h"

namespace knotwell::host {

PF_InteractCallbacks InteractCallbacks();
PF_PreRenderCallbacks& PreRenderCallbacks();
PF_SmartRenderCallbacks& SmartRenderCallbacks();

}  // namespace knotwell::host
