// The operating system's side of loading a plug-in: the shared library
// itself and its property list bytes. The only file that knows dlopen from
// LoadLibrary.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace knotwell::host {

class DynamicLibrary {
public:
    // Null and a reason in `error` when the library cannot be loaded.
    static std::unique_ptr<DynamicLibrary> Open(const std::filesystem::path& path,
                                                std::string* error);
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The exported function of that name, or null.
    void* Symbol(const char* name) const;

private:
    explicit DynamicLibrary(void* native) : native_(native) {}
    void* native_;
};

// The property list of the library at `path`, without running any of its
// code: on Windows its resource of type "PIPL", id 16000; elsewhere the
// file beside it with the same stem and the extension ".pipl".
std::optional<std::vector<std::uint8_t>> ReadPropertyListBytes(const std::filesystem::path& path,
                                                               std::string* error);

// The file extension of plug-in libraries on this system (".aex" or ".so").
const char* PluginExtension();

}  // namespace knotwell::host
