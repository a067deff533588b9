// Expressions on controls, as the application evaluates them: the run's
// one engine, `time` in composition seconds, and effect("Name")(control)
// reading an instance of the same layer by its name, a control by its name
// or index, at the time evaluated and after that control's own expression.
#pragma once

#include <string>

#include "headless_host/cli/run_state.h"

namespace knotwell::cli {

// Puts `source` on the control; an empty source removes its expression.
void BindExpression(RunState& state, host::EffectInstance& instance, PF_ParamIndex index,
                    const std::string& source);

}  // namespace knotwell::cli
