// `knotwell-host list`: the installed effects, as the host reads them from
// each library's property list.
#pragma once

#include <filesystem>
#include <ostream>
#include <vector>

namespace knotwell::cli {

// Lists the effects of every folder; returns the process exit code.
int ListEffects(const std::vector<std::filesystem::path>& folders, std::ostream& out,
                std::ostream& err);

}  // namespace knotwell::cli
