// Text and numbers as they go into the SVG document.
#pragma once

#include <string>
#include <string_view>

namespace knotwell::picture {

// Character data or an attribute value: markup characters escaped, and
// bytes that XML cannot hold (control characters, broken UTF-8) as '?'.
std::string EscapeXml(std::string_view text);

// A coordinate: at most two decimals, no trailing zeros. `value` must be finite.
std::string SvgNumber(double value);

}  // namespace knotwell::picture
