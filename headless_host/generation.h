// The two host interface generations a plug-in can be built for: current
// (the 64-bit host, interface 13.0) and legacy (the older 32-bit host,
// interface 12.10, older suite versions).
#pragma once

#include <string_view>

namespace knotwell::host {

enum class Generation { kCurrent, kLegacy };

struct InterfaceVersion {
    int major;
    int minor;
};

constexpr InterfaceVersion VersionOf(Generation generation) {
    return generation == Generation::kCurrent ? InterfaceVersion{13, 0} : InterfaceVersion{12, 10};
}

// The property list key of the entry point for the generation.
constexpr std::string_view EntryPointKeyOf(Generation generation) {
    return generation == Generation::kCurrent ? "8664" : "wx86";
}

constexpr std::string_view NameOf(Generation generation) {
    return generation == Generation::kCurrent ? "current" : "legacy";
}

}  // namespace knotwell::host
