// Readable text of a layer's state, for test failures and for comparing
// runs: masks with their vertices and effects with their parameters.
#pragma once

#include <string>

#include "headless_host/project/composition.h"

namespace knotwell::project {

// The layer at one layer time.
std::string DumpLayer(const Layer& layer, Ticks time);

// One line per mask ("mask 0 ...", vertices below), each line after
// `indent`.
std::string DumpMasks(const Layer& layer, Ticks time, const std::string& indent);

// A stream's value at `time` (keys, expression) and a line end; vertex
// lines of an outline after `indent`.
std::string DumpStream(const Stream& stream, Ticks time, const std::string& indent);

// The layer at every frame from layer time 0 up to, not including, its
// duration.
std::string DumpLayerFrames(const Composition& comp, const Layer& layer);

}  // namespace knotwell::project
