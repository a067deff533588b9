#include "resources/plugin_property_list.h"

#include <utility>

#include "frame/frame_commands.h"

namespace knotwell::pipl {

using host::Generation;

std::optional<Generation> ParseGeneration(std::string_view name) {
    for (const Generation generation : {Generation::kCurrent, Generation::kLegacy}) {
        if (name == NameOf(generation)) return generation;
    }
    return std::nullopt;
}

host::PropertyList PluginPropertyList(std::string display_name, std::string match_name,
                                      Generation generation) {
    const host::InterfaceVersion host_interface = VersionOf(generation);
    return host::PropertyList{
        .kind = "eFKT",
        .display_name = std::move(display_name),
        .category = "Morvex",
        .entry_point_key = std::string(EntryPointKeyOf(generation)),
        .entry_point = "EntryPointFunc",
        .pipl_version_major = 2,
        .pipl_version_minor = 0,
        .spec_version_major = host_interface.major,
        .spec_version_minor = host_interface.minor,
        .version = kVersionWord,
        .info_flags = 0,
        .global_outflags = static_cast<std::uint32_t>(kGlobalOutFlags),
        .global_outflags2 = static_cast<std::uint32_t>(kGlobalOutFlags2),
        .match_name = std::move(match_name),
        .reserved_info = 8,
    };
}

}  // namespace knotwell::pipl
