// The example of docs/project-format.md, as the reader must see it.
#pragma once

#include <string>

#include "headless_host/cli/project_file/description.h"

namespace knotwell::project_file::testing {

// The first ```json block of the format's documentation.
std::string DocumentedExample();

ProjectDescription ExpectedExample();

// Short forms for building descriptions in tests.
ControlSetting Control(ControlRef control, std::optional<ControlValue> value);
Step MakeStep(int layer, decltype(Step::action) action);

}  // namespace knotwell::project_file::testing
