// JSON laid out for people: a list or object that fits on a line stays on
// one ({"x": 1, "y": 2, "in": [0, 0], "out": [0, 0]}), longer ones get a
// line per item.
#pragma once

#include <string>

#include "headless_host/cli/project_file/strict_json.h"

namespace knotwell::project_file {

std::string PrettyJson(const Json& json);

}  // namespace knotwell::project_file
