// PluginLibrary: one loaded plug-in library with its validated property
// list and its entry point. InstalledEffect: what a folder scan tells about
// a library without loading it.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frame/host/pf_effect.h"
#include "headless_host/generation.h"
#include "headless_host/loading/dynamic_library.h"
#include "headless_host/loading/property_list.h"

namespace knotwell::host {

// The generation a property list declares ("eSVR" 13.0 or 12.10, with the
// matching entry point key), or none with the reason in `error`.
std::optional<Generation> GenerationOf(const PropertyList& properties, std::string* error);

// Reads and checks the property list of the library at `path`.
std::optional<PropertyList> ReadPropertyList(const std::filesystem::path& path, std::string* error);

class PluginLibrary {
public:
    // Null and the reason in `error` when the library cannot be loaded, its
    // property list is missing or invalid, or it lacks the entry point.
    static std::unique_ptr<PluginLibrary> Open(const std::filesystem::path& path,
                                               std::string* error);

    const std::filesystem::path& path() const { return path_; }
    const PropertyList& properties() const { return properties_; }
    Generation generation() const { return generation_; }
    PF_EntryPointFunc entry_point() const { return entry_point_; }

private:
    PluginLibrary() = default;

    std::filesystem::path path_;
    PropertyList properties_;
    Generation generation_ = Generation::kCurrent;
    std::unique_ptr<DynamicLibrary> library_;
    PF_EntryPointFunc entry_point_ = nullptr;
};

struct InstalledEffect {
    std::filesystem::path path;
    std::string display_name;
    std::string category;
    std::string match_name;
    std::uint32_t version;
    Generation generation;
};

// The effects among the plug-in libraries of `folder` (not recursive), by
// file name. A library that cannot be read is left out; its reason is added
// to `problems` when given.
std::vector<InstalledEffect> ScanPluginFolder(const std::filesystem::path& folder,
                                              std::vector<std::string>* problems = nullptr);

}  // namespace knotwell::host
