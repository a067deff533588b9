// Reading a project file: strict, so that a mistake is reported once, at
// its place, instead of surfacing later as a strange run.
#pragma once

#include <string_view>

#include "headless_host/cli/project_file/description.h"
#include "headless_host/cli/project_file/result.h"

namespace knotwell::project_file {

// Refuses malformed JSON (by line and column), unknown fields, values of
// the wrong shape, sizes and frames out of range, keyframes out of order,
// repeated layer or instance names and steps that name no layer, each with
// the path of the offending item. Effect and control names are kept as
// written: they are checked against the installed effects later, with the
// SourcePath of each item.
Result<ProjectDescription, FileError> ReadProject(std::string_view json_text);

}  // namespace knotwell::project_file
