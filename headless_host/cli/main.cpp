// knotwell-host: the headless host as a command-line tool.
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include "headless_host/cli/list_command.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: knotwell-host list [--plugins DIR]\n"
    "\n"
    "  list    the installed effects of the plug-in folder DIR (by default\n"
    "          the native build's plug-ins of both interface generations),\n"
    "          as read from each library's property list\n";

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        (args.empty() ? std::cerr : std::cout) << kUsage;
        return args.empty() ? 2 : 0;
    }
    if (args[0] != "list") {
        std::cerr << "knotwell-host: unknown command '" << args[0] << "'\n" << kUsage;
        return 2;
    }
    std::vector<std::filesystem::path> folders;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (args[i] != "--plugins" || i + 1 == args.size()) {
            std::cerr << "knotwell-host: unexpected '" << args[i] << "'\n" << kUsage;
            return 2;
        }
        folders.emplace_back(args[++i]);
    }
    if (folders.empty()) {
        const std::filesystem::path plugins(KNOTWELL_PLUGIN_DIR);
        folders = {plugins / "current", plugins / "legacy"};
    }
    return knotwell::cli::ListEffects(folders, std::cout, std::cerr);
}
