// Readable test failure messages for property lists.
#pragma once

#include <ostream>

#include "headless_host/loading/property_list.h"

namespace knotwell::host {

inline void PrintTo(const PropertyList& l, std::ostream* out) {
    *out << "{" << l.kind << ", \"" << l.display_name << "\", \"" << l.category << "\", "
         << l.entry_point_key << " " << l.entry_point << ", PiPL " << l.pipl_version_major << "."
         << l.pipl_version_minor << ", interface " << l.spec_version_major << "."
         << l.spec_version_minor << ", version " << l.version << ", info " << l.info_flags
         << ", flags 0x" << std::hex << l.global_outflags << " 0x" << l.global_outflags2
         << std::dec << ", \"" << l.match_name << "\", reserved " << l.reserved_info << "}";
}

}  // namespace knotwell::host
