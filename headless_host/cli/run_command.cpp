#include "headless_host/cli/run_command.h"

#include <chrono>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <utility>
#include <vector>

#include "headless_host/cli/picture_builder.h"
#include "headless_host/cli/project_builder.h"
#include "headless_host/cli/project_file/atomic_file.h"
#include "headless_host/cli/project_file/read_project.h"
#include "headless_host/cli/project_file/write_project.h"
#include "headless_host/cli/result_writer.h"
#include "headless_host/cli/run_error.h"
#include "headless_host/cli/step_player.h"
#include "headless_host/driving/effect_type.h"
#include "headless_host/loading/plugin_library.h"

namespace knotwell::cli {
namespace {

namespace fs = std::filesystem;
namespace pf = project_file;

using OutputFile = std::pair<fs::path, std::string>;

pf::ProjectDescription ReadProjectFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file || fs::is_directory(path)) throw RunError("cannot read " + path.string() + ": no such file");
    std::ostringstream text;
    text << file.rdbuf();
    pf::Result<pf::ProjectDescription, pf::FileError> project = pf::ReadProject(text.str());
    if (!project.ok()) throw RunError(path.string(), pf::ToString(project.error()));
    return std::move(project).value();
}

std::vector<host::InstalledEffect> FindPlugins(const fs::path& folder) {
    if (!fs::is_directory(folder)) throw RunError("no plug-in folder " + folder.string());
    std::vector<std::string> problems;
    std::vector<host::InstalledEffect> effects = host::ScanPluginFolder(folder, &problems);
    if (effects.empty()) {
        throw RunError("no plug-in libraries in " + folder.string() +
                       (problems.empty() ? std::string() : " (" + problems.front() + ")"));
    }
    return effects;
}

void MakeOutputFolder(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (error || !fs::is_directory(folder)) {
        throw RunError("cannot make the output folder " + folder.string() + ": " +
                       (error ? error.message() : "a file of that name is in the way"));
    }
}

// Every file or none: one that cannot be written takes back the others.
void WriteAll(const std::vector<OutputFile>& files) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (const std::optional<std::string> failure = pf::WriteFileAtomically(files[i].first, files[i].second)) {
            for (std::size_t j = 0; j < i; ++j) fs::remove(files[j].first);
            throw RunError(*failure);
        }
    }
}

// The Effect Controls panel, as the user looks at the result: every
// instance updates how its controls are shown, also those the maker
// applied, which no UI command has reached yet.
void ShowEffectControls(host::Project& project) {
    for (project::Layer& layer : project.composition().layers) {
        for (std::size_t i = 0; i < layer.effects.size(); ++i) {
            if (host::EffectInstance* instance = project.InstanceOf(layer.effects[i])) instance->UpdateParamsUi();
        }
    }
}

std::string Count(std::size_t count, const std::string& one, const std::string& many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void PrintSummary(const RunOutcome& outcome, double seconds, const std::vector<OutputFile>& files,
                  std::ostream& out) {
    const pf::ProjectDescription& result = outcome.result;
    out << "knotwell-host: ran " << Count(result.layers.size(), "layer", "layers") << " in " << std::fixed
        << std::setprecision(2) << seconds << " s; "
        << Count(static_cast<std::size_t>(outcome.frames_rendered), "frame", "frames") << " rendered";
    if (outcome.unsettled_frames > 0) out << " (" << outcome.unsettled_frames << " did not settle)";
    out << "\n";
    for (const pf::LayerDescription& layer : result.layers) {
        out << "  layer \"" << layer.name << "\": " << Count(layer.effects.size(), "effect", "effects");
        for (const pf::MaskDescription& mask : layer.masks) {
            out << ", mask \"" << mask.name << "\" "
                << (mask.keyframes.empty() ? Count(mask.vertices.size(), "vertex", "vertices")
                                           : Count(mask.keyframes.size(), "keyframe", "keyframes"));
        }
        out << "\n";
    }
    const pf::RunReport& report = *result.report;
    out << "  " << Count(report.messages.size(), "message", "messages") << ", "
        << Count(report.info_panel.size(), "Info panel line", "Info panel lines") << ", " << report.host_calls.total
        << " host calls, leaks: " << (report.leaks.empty() ? "none" : std::to_string(report.leaks.size())) << "\n";
    for (const OutputFile& file : files) out << "  wrote " << file.first.string() << "\n";
}

}  // namespace

RunOutcome RunProject(const pf::ProjectDescription& description, const fs::path& plugins, Progress& progress,
                      const HostProbe& probe) {
    const std::vector<host::InstalledEffect> effects = FindPlugins(plugins);
    host::Host host(effects.front().generation);
    if (probe.prepare) probe.prepare(host);
    for (const host::InstalledEffect& effect : effects) host.Load(effect.path).GlobalSetup();
    RunState state(host, progress);
    try {
        BuildProject(state, description);
        PlaySteps(state, description.steps);
    } catch (...) {
        // The expressions on the streams refer to the state: set the
        // instances down while it is still there.
        progress.Finish();
        host.Shutdown();
        if (probe.inspect) probe.inspect(host);
        throw;
    }

    ShowEffectControls(state.project);
    RunOutcome outcome{DescribeProject(state, description.composition), {}, state.frames_rendered,
                       state.unsettled_frames};
    const project::Composition& comp = state.project.composition();
    for (const project::Layer& layer : comp.layers) {
        const std::string title = "\"" + comp.name + "\", layer \"" + layer.name + "\"";
        outcome.pictures.push_back(BuildPicture(state.project, layer, state.captures, title));
    }
    host.Shutdown();
    outcome.result.report = DescribeRun(host);
    if (probe.inspect) probe.inspect(host);
    return outcome;
}

fs::path PictureName(std::size_t index) {
    return index == 0 ? "picture.svg" : "picture-" + std::to_string(index + 1) + ".svg";
}

int RunProjectFile(const RunOptions& options, std::ostream& out, std::ostream& err) {
    try {
        const auto started = std::chrono::steady_clock::now();
        const pf::ProjectDescription description = ReadProjectFile(options.project);
        Progress progress(err, options.progress);
        const RunOutcome outcome = RunProject(description, options.plugins, progress);

        std::vector<OutputFile> files{{options.out / "result.json", pf::WriteProject(outcome.result)}};
        for (std::size_t i = 0; i < outcome.pictures.size(); ++i) {
            files.emplace_back(options.out / PictureName(i), picture::WriteSvg(outcome.pictures[i]));
        }
        MakeOutputFolder(options.out);
        WriteAll(files);

        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
        PrintSummary(outcome, seconds.count(), files, out);
        return 0;
    } catch (const std::exception& failure) {
        err << "knotwell-host: " << failure.what() << "\n";
        return 1;
    }
}

}  // namespace knotwell::cli
