#include "headless_host/cli/list_command.h"

#include <iomanip>
#include <string>

#include "headless_host/loading/plugin_library.h"

namespace knotwell::cli {
namespace {

// The packed version word as "major.minor.fix".
std::string VersionText(std::uint32_t word) {
    return std::to_string((word >> 19) & 0x7) + "." + std::to_string((word >> 15) & 0xF) + "." +
           std::to_string((word >> 11) & 0xF);
}

}  // namespace

int ListEffects(const std::vector<std::filesystem::path>& folders, std::ostream& out,
                std::ostream& err) {
    int exit_code = 0;
    out << std::left << std::setw(16) << "Effect" << std::setw(10) << "Category" << std::setw(28)
        << "Match name" << std::setw(9) << "Version" << "Interface\n";
    for (const std::filesystem::path& folder : folders) {
        if (!std::filesystem::is_directory(folder)) {
            err << "knotwell-host: no plug-in folder " << folder << "\n";
            exit_code = 1;
            continue;
        }
        std::vector<std::string> problems;
        for (const host::InstalledEffect& effect : host::ScanPluginFolder(folder, &problems)) {
            const host::InterfaceVersion version = host::VersionOf(effect.generation);
            out << std::setw(16) << effect.display_name << std::setw(10) << effect.category
                << std::setw(28) << effect.match_name << std::setw(9) << VersionText(effect.version)
                << version.major << "." << version.minor << " (" << host::NameOf(effect.generation)
                << ")\n";
        }
        for (const std::string& problem : problems) err << "knotwell-host: " << problem << "\n";
    }
    return exit_code;
}

}  // namespace knotwell::cli
