// Plays a project file's steps as a user takes them: apply an effect,
// change a control, render frames, pick "Execute".
#pragma once

#include <vector>

#include "headless_host/cli/project_file/description.h"
#include "headless_host/cli/run_state.h"

namespace knotwell::cli {

// In order. RunError at the step's path when it names what is not there,
// gives a value that does not fit, or an expression failed during it.
void PlaySteps(RunState& state, const std::vector<project_file::Step>& steps);

}  // namespace knotwell::cli
