#include "headless_host/picture/svg_text.h"

#include <cstdio>

namespace knotwell::picture {

namespace {

// The length of the well-formed UTF-8 sequence at the start of `text`
// that XML accepts, or 0.
std::size_t Utf8Length(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return (lead >= 0x20 || lead == '\t' || lead == '\n' || lead == '\r') ? 1 : 0;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length) return 0;
    unsigned code = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = code << 6 | (byte(i) & 0x3F);
    }
    const unsigned shortest[] = {0, 0, 0x80, 0x800, 0x10000};
    const bool allowed = code >= shortest[length] && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF) &&
                         code != 0xFFFE && code != 0xFFFF;
    return allowed ? length : 0;
}

}  // namespace

std::string EscapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        switch (text.front()) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: {
            const std::size_t length = Utf8Length(text);
            if (length == 0) {
                out += '?';
                text.remove_prefix(1);
            } else {
                out.append(text.substr(0, length));
                text.remove_prefix(length);
            }
            continue;
        }
        }
        text.remove_prefix(1);
    }
    return out;
}

std::string SvgNumber(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string out(text);
    while (out.back() == '0') out.pop_back();
    if (out.back() == '.') out.pop_back();
    return out == "-0" ? "0" : out;
}

}  // namespace knotwell::picture
