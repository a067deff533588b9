// The plug-in property list ("PIPL" resource) as the host reads it: what a
// library says about itself before its entry point is ever called.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace knotwell::host {

struct PropertyList {
    std::string kind, display_name, category, entry_point_key /* "8664" or "wx86" */, entry_point;
    int pipl_version_major, pipl_version_minor, spec_version_major, spec_version_minor;
    std::uint32_t version;
    std::uint32_t info_flags, global_outflags, global_outflags2;
    std::string match_name;
    std::uint32_t reserved_info;

    bool operator==(const PropertyList&) const = default;
};

// Reads the bytes of a property list resource. Strict: the header, the
// twelve records in their order, their lengths, padding and alignment must
// be exactly as the plug-ins write them, with nothing after the last record.
// On failure returns nothing and, when `error` is given, says why.
std::optional<PropertyList> ParsePropertyList(std::span<const std::uint8_t> bytes,
                                              std::string* error);

}  // namespace knotwell::host
