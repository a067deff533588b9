#include "headless_host/loading/plugin_library.h"

#include <algorithm>

namespace knotwell::host {

namespace {

constexpr std::string_view kEffectKind = "eFKT";

bool Fail(std::string* error, std::string reason) {
    if (error) *error = std::move(reason);
    return false;
}

}  // namespace

std::optional<Generation> GenerationOf(const PropertyList& properties, std::string* error) {
    for (const Generation generation : {Generation::kCurrent, Generation::kLegacy}) {
        const InterfaceVersion version = VersionOf(generation);
        if (properties.spec_version_major != version.major ||
            properties.spec_version_minor != version.minor) {
            continue;
        }
        if (properties.entry_point_key != EntryPointKeyOf(generation)) {
            Fail(error, "entry point key " + properties.entry_point_key + " does not match interface " +
                            std::to_string(version.major) + "." + std::to_string(version.minor));
            return std::nullopt;
        }
        return generation;
    }
    Fail(error, "unsupported interface version " + std::to_string(properties.spec_version_major) +
                    "." + std::to_string(properties.spec_version_minor));
    return std::nullopt;
}

std::optional<PropertyList> ReadPropertyList(const std::filesystem::path& path, std::string* error) {
    const auto bytes = ReadPropertyListBytes(path, error);
    if (!bytes) return std::nullopt;
    auto properties = ParsePropertyList(*bytes, error);
    if (properties && properties->kind != kEffectKind) {
        Fail(error, "kind " + properties->kind + " is not an effect");
        return std::nullopt;
    }
    return properties;
}

std::unique_ptr<PluginLibrary> PluginLibrary::Open(const std::filesystem::path& path,
                                                   std::string* error) {
    std::unique_ptr<PluginLibrary> plugin(new PluginLibrary);
    plugin->path_ = path;
    auto properties = ReadPropertyList(path, error);
    if (!properties) return nullptr;
    const auto generation = GenerationOf(*properties, error);
    if (!generation) return nullptr;
    plugin->properties_ = std::move(*properties);
    plugin->generation_ = *generation;

    plugin->library_ = DynamicLibrary::Open(path, error);
    if (!plugin->library_) return nullptr;
    plugin->entry_point_ = reinterpret_cast<PF_EntryPointFunc>(
        plugin->library_->Symbol(plugin->properties_.entry_point.c_str()));
    if (!plugin->entry_point_) {
        Fail(error, "no export " + plugin->properties_.entry_point);
        return nullptr;
    }
    return plugin;
}

std::vector<InstalledEffect> ScanPluginFolder(const std::filesystem::path& folder,
                                              std::vector<std::string>* problems) {
    std::vector<InstalledEffect> effects;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored)) {
        if (!entry.is_regular_file() || entry.path().extension() != PluginExtension()) continue;
        std::string error;
        const auto properties = ReadPropertyList(entry.path(), &error);
        const auto generation = properties ? GenerationOf(*properties, &error) : std::nullopt;
        if (!generation) {
            if (problems) problems->push_back(entry.path().string() + ": " + error);
            continue;
        }
        effects.push_back({entry.path(), properties->display_name, properties->category,
                           properties->match_name, properties->version, *generation});
    }
    std::sort(effects.begin(), effects.end(),
              [](const InstalledEffect& a, const InstalledEffect& b) { return a.path < b.path; });
    return effects;
}

}  // namespace knotwell::host
