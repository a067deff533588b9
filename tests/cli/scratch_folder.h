// A fresh folder per test, removed afterwards, and a run of knotwell-host's
// command line in it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace knotwell::test {

class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path Write(const std::string& name, const std::string& text) const;

private:
    std::filesystem::path path_;
};

struct CommandResult {
    int exit_code = 0;
    std::string out;
    std::string err;
};

// knotwell-host with `args`, the plug-ins of this build by default.
CommandResult RunKnotwellHost(const std::vector<std::string>& args);

std::string ReadFile(const std::filesystem::path& path);

}  // namespace knotwell::test
