// JSON text parsed with the keys kept in the order written, refusing what
// nlohmann would let through silently: a key given twice in one object.
#pragma once

#include <string_view>

#include <nlohmann/json.hpp>

#include "headless_host/cli/project_file/description.h"
#include "headless_host/cli/project_file/result.h"

namespace knotwell::project_file {

using Json = nlohmann::ordered_json;

// Malformed text is reported by line and column, a repeated key by its
// path.
Result<Json, FileError> ParseStrictJson(std::string_view text);

}  // namespace knotwell::project_file
