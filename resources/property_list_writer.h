// Encodes a property list into the bytes of the "PIPL" resource.
#pragma once

#include <cstdint>
#include <vector>

#include "headless_host/loading/property_list.h"

namespace knotwell::pipl {

// Throws std::invalid_argument when a value does not fit its encoding
// (a code that is not four characters, a Pascal string over 255 characters,
// a string with a zero byte, a number too wide for its field).
std::vector<std::uint8_t> WritePropertyList(const host::PropertyList& list);

}  // namespace knotwell::pipl
