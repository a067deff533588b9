// The picture of what the plug-ins did to a layer's masks: the "Live" panel
// from the shapes the user saw at the rendered frames, and after a bake the
// "Baked" panel from the mask paths' keyframes at the same frames. A layer
// that was never rendered shows its masks as the project holds them.
#pragma once

#include <string>

#include "headless_host/cli/frame_captures.h"
#include "headless_host/picture/picture.h"

namespace knotwell::cli {

picture::Picture BuildPicture(const host::Project& project, const project::Layer& layer,
                              const FrameCaptures& captures, const std::string& title);

}  // namespace knotwell::cli
