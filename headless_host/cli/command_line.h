// knotwell-host's command line: `run` and `list`, each with --help.
#pragma once

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace knotwell::cli {

// Parses `args` (without the program name) and runs the command; returns
// the process exit code: 0 on success, 1 when the command fails, 2 for a
// command line that cannot be parsed (one line on `err`).
int RunCommandLine(const std::vector<std::string>& args, const std::filesystem::path& default_plugins,
                   std::ostream& out, std::ostream& err);

}  // namespace knotwell::cli
