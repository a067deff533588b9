// Readable text of the project as the user would see it: per layer its
// masks, and every effect instance with its control values, active flag
// and the shown state of each control (its shown name when the plug-in
// renamed it, greyed out, hidden).
#pragma once

#include <string>

#include "headless_host/evaluation/project.h"

namespace knotwell::host {

struct DumpOptions {
    // The masks at every frame of the layer as well, not only at `time`.
    bool mask_frames = false;
};

// One layer at layer time `time`.
std::string DumpLayerState(const Project& project, const project::Layer& layer, project::Ticks time,
                           const DumpOptions& options = {});

// Every layer at the project's current time.
std::string DumpProjectState(const Project& project, const DumpOptions& options = {});

}  // namespace knotwell::host
