#include "headless_host/loading/dynamic_library.h"

#include <fstream>
#include <iterator>
#include <memory>

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace knotwell::host {

#ifdef _WIN32

namespace {
constexpr WORD kPropertyListId = 16000;

std::string LastError(const char* what) {
    return std::string(what) + " failed, error " + std::to_string(GetLastError());
}
}  // namespace

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::filesystem::path& path,
                                                     std::string* error) {
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module) {
        if (error) *error = LastError("LoadLibrary");
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(module));
}

DynamicLibrary::~DynamicLibrary() { FreeLibrary(static_cast<HMODULE>(native_)); }

void* DynamicLibrary::Symbol(const char* name) const {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(native_), name));
}

std::optional<std::vector<std::uint8_t>> ReadPropertyListBytes(const std::filesystem::path& path,
                                                               std::string* error) {
    // As data only: reading the property list must not run the plug-in.
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module) {
        if (error) *error = LastError("LoadLibraryEx");
        return std::nullopt;
    }
    std::optional<std::vector<std::uint8_t>> bytes;
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(kPropertyListId), "PIPL");
    HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    const auto* data = loaded ? static_cast<const std::uint8_t*>(LockResource(loaded)) : nullptr;
    if (data) {
        bytes.emplace(data, data + SizeofResource(module, resource));
    } else if (error) {
        *error = "no PIPL resource 16000";
    }
    FreeLibrary(module);
    return bytes;
}

const char* PluginExtension() { return ".aex"; }

#else

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::filesystem::path& path,
                                                     std::string* error) {
    void* native = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!native) {
        if (error) *error = dlerror();
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(native));
}

DynamicLibrary::~DynamicLibrary() { dlclose(native_); }

void* DynamicLibrary::Symbol(const char* name) const { return dlsym(native_, name); }

std::optional<std::vector<std::uint8_t>> ReadPropertyListBytes(const std::filesystem::path& path,
                                                               std::string* error) {
    std::filesystem::path list = path;
    list.replace_extension(".pipl");
    std::ifstream file(list, std::ios::binary);
    if (!file) {
        if (error) *error = "cannot read " + list.string();
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(file), {});
}

const char* PluginExtension() { return ".so"; }

#endif

}  // namespace knotwell::host
