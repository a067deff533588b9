// JSON paths as errors show them: layers[0].masks[1].vertices[3].in, with
// names that are not plain words quoted: controls["Tan In"].
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace knotwell::project_file {

std::string FieldPath(std::string_view parent, std::string_view key);
std::string ItemPath(std::string_view parent, std::size_t index);

}  // namespace knotwell::project_file
