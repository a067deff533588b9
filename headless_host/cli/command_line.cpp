#include "headless_host/cli/command_line.h"

#include <iostream>

#include <CLI/CLI.hpp>

#include "headless_host/cli/list_command.h"
#include "headless_host/cli/progress.h"
#include "headless_host/cli/run_command.h"

namespace knotwell::cli {

int RunCommandLine(const std::vector<std::string>& args, const std::filesystem::path& default_plugins,
                   std::ostream& out, std::ostream& err) {
    CLI::App app("knotwell-host: the headless host, running the Knotwell plug-ins without After Effects",
                 "knotwell-host");
    app.require_subcommand(0, 1);

    RunOptions run;
    run.out = "knotwell-output";
    // Bars only where a person watches: the process's own stderr, a terminal.
    run.progress = &err == &std::cerr && Progress::StderrIsTerminal();
    std::string run_plugins;
    CLI::App* run_command = app.add_subcommand(
        "run", "Build a project file's project, play its steps, and write result.json and picture.svg");
    run_command->add_option("PROJECT", run.project, "the project file (JSON; see docs/project-format.md)")
        ->required();
    run_command->add_option("--plugins", run_plugins,
                            "folder of plug-in libraries (default: the native build's current generation)");
    run_command->add_option("--out", run.out, "output folder, made when missing")->capture_default_str();

    std::vector<std::string> list_folders;
    CLI::App* list_command = app.add_subcommand(
        "list", "The installed effects with category, match name, version and interface generation");
    list_command->add_option("--plugins", list_folders,
                             "folder of plug-in libraries (default: the native build's, both generations)");

    // CLI11 parses the arguments last to first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        out << (app.get_subcommands().empty() ? app.help() : app.get_subcommands().front()->help());
        return 0;
    } catch (const CLI::ParseError& error) {
        err << "knotwell-host: " << error.what() << " (see knotwell-host --help)\n";
        return 2;
    }

    if (app.get_subcommands().empty()) {
        err << "knotwell-host: give a command, run or list (see knotwell-host --help)\n";
        return 2;
    }
    if (run_command->parsed()) {
        run.plugins = run_plugins.empty() ? default_plugins / "current" : std::filesystem::path(run_plugins);
        return RunProjectFile(run, out, err);
    }
    std::vector<std::filesystem::path> folders(list_folders.begin(), list_folders.end());
    if (folders.empty()) folders = {default_plugins / "current", default_plugins / "legacy"};
    return ListEffects(folders, out, err);
}

}  // namespace knotwell::cli
