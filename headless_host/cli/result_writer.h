// The project as it is after a run, in the project file's words: layers
// with their masks (baked ones with keyframes), every effect instance with
// its name, active flag, controls and how the panel shows them; and what
// the run showed the user.
#pragma once

#include "headless_host/cli/project_file/description.h"
#include "headless_host/cli/run_state.h"

namespace knotwell::cli {

// The composition as the run's file gave it; layers from the host's
// project; no steps and no report.
project_file::ProjectDescription DescribeProject(const RunState& state,
                                                 const project_file::CompositionDescription& composition);

// Messages, Info panel lines and host calls so far, and the leaks of the
// host's ledger (after Host::Shutdown, everything not given back).
project_file::RunReport DescribeRun(host::Host& host);

}  // namespace knotwell::cli
