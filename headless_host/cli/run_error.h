// What stops a run: one line for the user, led by the place in the project
// file when the fault is in the file.
#pragma once

#include <stdexcept>
#include <string>

namespace knotwell::cli {

class RunError : public std::runtime_error {
public:
    explicit RunError(const std::string& message) : std::runtime_error(message) {}
    RunError(const std::string& path, const std::string& message)
        : std::runtime_error(path.empty() ? message : path + ": " + message) {}
};

}  // namespace knotwell::cli
