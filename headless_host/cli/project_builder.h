// Builds a project file's composition, layers, masks and effects in the
// host's project, as the application opens a saved project: values set
// without telling the plug-ins, then each instance asked to show its
// controls (UPDATE_PARAMS_UI).
#pragma once

#include "headless_host/cli/project_file/description.h"
#include "headless_host/cli/run_state.h"

namespace knotwell::cli {

// RunError with the item's path for an effect that is not installed, and
// for controls and values that do not fit their effect.
void BuildProject(RunState& state, const project_file::ProjectDescription& description);

// Applies the effect after the layer's others, with its name, active flag
// and controls; also for the "apply" steps.
host::EffectInstance& AddEffect(RunState& state, project::Layer& layer,
                                const project_file::EffectDescription& description);

}  // namespace knotwell::cli
