// `knotwell-host run`: loads the plug-ins, builds a project file's project,
// plays its steps, and writes result.json and the picture of every layer
// into the output folder, all or nothing.
#pragma once

#include <filesystem>
#include <functional>
#include <ostream>
#include <vector>

#include "headless_host/cli/progress.h"
#include "headless_host/cli/project_file/description.h"
#include "headless_host/host.h"
#include "headless_host/picture/picture.h"

namespace knotwell::cli {

struct RunOptions {
    std::filesystem::path project;
    std::filesystem::path plugins;  // a folder of plug-in libraries
    std::filesystem::path out;      // made when missing
    bool progress = false;          // draw progress bars on `err`
};

// What a run made, before anything is written.
struct RunOutcome {
    project_file::ProjectDescription result;  // with its report
    std::vector<picture::Picture> pictures;   // one per layer
    long frames_rendered = 0;
    long unsettled_frames = 0;  // still changing after the host's last pass
};

// A look inside a run for the tests that make the host fail: `prepare`
// sees the new host before the plug-ins are loaded (to set its fault plan,
// say), and `inspect` sees it once everything is set down, also when the
// run ends in a RunError.
struct HostProbe {
    std::function<void(host::Host&)> prepare;
    std::function<void(host::Host&)> inspect;
};

// Loads the plug-in libraries of the folder `plugins`, builds the project,
// plays its steps and sets everything down. RunError when it cannot.
RunOutcome RunProject(const project_file::ProjectDescription& description, const std::filesystem::path& plugins,
                      Progress& progress, const HostProbe& probe = {});

// Prints a short summary on `out`, or one line on `err` when the run
// cannot be made; returns the process exit code.
int RunProjectFile(const RunOptions& options, std::ostream& out, std::ostream& err);

// The picture of layer `index` (from 0): picture.svg, picture-2.svg, ...
std::filesystem::path PictureName(std::size_t index);

}  // namespace knotwell::cli
