#include "resources/property_list_writer.h"

#include <stdexcept>
#include <string>
#include <string_view>

#include "resources/property_list_layout.h"

namespace knotwell::pipl {
namespace {

void Fail(std::string_view key, std::string_view problem) {
    throw std::invalid_argument("property \"" + std::string(key) + "\": " + std::string(problem));
}

void PutNumber(std::vector<std::uint8_t>& out, std::uint32_t value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutCode(std::vector<std::uint8_t>& out, std::string_view code) {
    if (code.size() != 4) Fail(code, "a four-character code must have four characters");
    out.insert(out.end(), code.rbegin(), code.rend());
}

void PutText(std::vector<std::uint8_t>& out, std::string_view key, std::string_view text) {
    if (text.find('\0') != std::string_view::npos) Fail(key, "text holds a zero byte");
    out.insert(out.end(), text.begin(), text.end());
}

void PutVersionPart(std::vector<std::uint8_t>& out, std::string_view key, int part) {
    if (part < 0 || part > 0xFFFF) Fail(key, "version part out of range");
    PutNumber(out, static_cast<std::uint32_t>(part), 2);
}

// The value bytes without padding.
std::vector<std::uint8_t> EncodeValue(const RecordLayout& layout, std::string_view key,
                                      const host::PropertyList& list) {
    std::vector<std::uint8_t> value;
    switch (layout.encoding) {
        case Encoding::kFourCharCode:
            PutCode(value, list.*layout.text);
            break;
        case Encoding::kPascalString: {
            const std::string& text = list.*layout.text;
            if (text.size() > 255) Fail(key, "Pascal string longer than 255 characters");
            value.push_back(static_cast<std::uint8_t>(text.size()));
            PutText(value, key, text);
            break;
        }
        case Encoding::kCString:
            PutText(value, key, list.*layout.text);
            value.push_back(0);
            break;
        case Encoding::kVersionPair:
            PutVersionPart(value, key, list.*layout.major);
            PutVersionPart(value, key, list.*layout.minor);
            break;
        case Encoding::kLong:
            PutNumber(value, list.*layout.number, 4);
            break;
        case Encoding::kShort:
            if (list.*layout.number > 0xFFFF) Fail(key, "number wider than 16 bits");
            PutNumber(value, list.*layout.number, 2);
            break;
    }
    return value;
}

}  // namespace

std::vector<std::uint8_t> WritePropertyList(const host::PropertyList& list) {
    std::vector<std::uint8_t> out;
    PutNumber(out, kListVersion, 2);
    PutNumber(out, 0, 4);
    PutNumber(out, static_cast<std::uint32_t>(kRecords.size()), 4);
    for (std::size_t i = 0; i < kRecords.size(); ++i) {
        const RecordLayout& layout = kRecords[i];
        const std::string_view key =
            i == kEntryPointRecord ? std::string_view(list.entry_point_key) : layout.key;
        std::vector<std::uint8_t> value = EncodeValue(layout, key, list);
        // Strings count their padding in n; fixed-size values do not.
        const bool is_string = pipl::FixedValueLength(layout.encoding) == 0;
        const std::size_t n = is_string ? PaddedLength(value.size()) : value.size();

        PutCode(out, kVendor);
        PutCode(out, key);
        PutNumber(out, 0, 4);
        PutNumber(out, static_cast<std::uint32_t>(n), 4);
        out.insert(out.end(), value.begin(), value.end());
        out.resize(out.size() + PaddedLength(value.size()) - value.size(), 0);
    }
    return out;
}

}  // namespace knotwell::pipl
