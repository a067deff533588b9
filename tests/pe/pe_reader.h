// A small reader of Windows PE images: just enough to see what a plug-in
// library shows its host (machine, exports, imported DLLs, resources).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace knotwell::pe {

inline constexpr std::uint16_t kMachineI386 = 0x14c;
inline constexpr std::uint16_t kMachineAmd64 = 0x8664;

struct Resource {
    std::string type;  // a named type as it is ("PIPL"), a numbered one as "#24"
    std::string name;  // the same convention
    std::uint32_t language;
    std::uint32_t code_page;
    std::vector<std::uint8_t> data;
};

struct Image {
    std::uint16_t machine;
    bool pe32_plus;
    std::string export_dll_name;  // empty when there is no export directory
    std::uint32_t export_function_count;
    std::vector<std::string> export_names;
    std::vector<std::string> imported_dlls;
    std::vector<Resource> resources;
};

// Throws std::runtime_error when the image is malformed or points outside itself.
Image ReadImage(std::span<const std::uint8_t> file);

}  // namespace knotwell::pe
