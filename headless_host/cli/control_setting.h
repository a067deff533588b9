// Gives one control what a project file says for it: a value, keyframes
// and/or an expression.
#pragma once

#include <string>

#include "headless_host/cli/project_file/description.h"
#include "headless_host/cli/run_state.h"

namespace knotwell::cli {

// Quietly, as a project is opened; or as the user changes it, after which
// the host sends USER_CHANGED_PARAM and UPDATE_PARAMS_UI.
enum class Change { kQuiet, kAsUser };

// Where the file named the control and gave its value, for errors; the
// setting's own path leads the paths of its keyframes and expression.
struct SettingPaths {
    std::string control;
    std::string value;
};

// RunError at the offending place for an unknown control, a value that
// does not fit it, or keyframes on a control that holds one value.
void ApplySetting(RunState& state, host::EffectInstance& instance, const project_file::ControlSetting& setting,
                  const SettingPaths& paths, Change change);

}  // namespace knotwell::cli
