// Writing a project file, as knotwell-host writes its result.json.
#pragma once

#include <string>

#include "headless_host/cli/project_file/description.h"

namespace knotwell::project_file {

// Pretty JSON with the fields in a fixed order and the report sections
// when there is a report; ReadProject gives back an equal description.
std::string WriteProject(const ProjectDescription& project);

}  // namespace knotwell::project_file
