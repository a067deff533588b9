// Where the build leaves the real plug-ins for the headless host.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "headless_host/generation.h"
#include "headless_host/loading/dynamic_library.h"

namespace knotwell::test {

inline constexpr std::string_view kPluginNames[] = {"Knotwell", "KnotwellMaker", "KnotwellBaker"};

inline std::filesystem::path PluginPath(std::string_view name, host::Generation generation) {
    return std::filesystem::path(KNOTWELL_PLUGIN_DIR) / std::string(host::NameOf(generation)) /
           (std::string(name) + host::PluginExtension());
}

}  // namespace knotwell::test
