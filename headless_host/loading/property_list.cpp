#include "headless_host/loading/property_list.h"

#include <algorithm>
#include <string_view>

#include "headless_host/generation.h"
#include "resources/property_list_layout.h"

namespace knotwell::host {
namespace {

using pipl::Encoding;
using pipl::RecordLayout;

// Thrown inside the parser only; ParsePropertyList turns it into its error text.
struct ParseFailure {
    std::string text;
};

// A bounds-checked view of the resource: every read names what it reads so
// that a refusal says where the bytes went wrong.
class Bytes {
public:
    explicit Bytes(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }

    std::span<const std::uint8_t> Take(std::size_t offset, std::size_t length,
                                       std::string_view what) const {
        if (offset > bytes_.size() || length > bytes_.size() - offset) {
            throw ParseFailure{std::string(what) + " needs " + std::to_string(length) +
                               " bytes at offset " + std::to_string(offset) + ", but only " +
                               std::to_string(bytes_.size() - std::min(offset, bytes_.size())) +
                               " are left"};
        }
        return bytes_.subspan(offset, length);
    }

    std::uint32_t Number(std::size_t offset, std::size_t width, std::string_view what) const {
        std::uint32_t value = 0;
        auto field = Take(offset, width, what);
        for (std::size_t i = width; i-- > 0;) value = value << 8 | field[i];
        return value;
    }

    // A four-character code stored as a little-endian number: reversed bytes.
    std::string Code(std::size_t offset, std::string_view what) const {
        auto field = Take(offset, 4, what);
        return std::string(field.rbegin(), field.rend());
    }

private:
    std::span<const std::uint8_t> bytes_;
};

void Require(bool condition, const std::string& text) {
    if (!condition) throw ParseFailure{text};
}

bool AllZero(std::span<const std::uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

std::string Quoted(std::string_view text) {
    std::string quoted(1, '"');
    quoted.append(text).push_back('"');
    return quoted;
}

// Reads one value of `n` bytes (padding included in `value`) into `list`.
void ReadValue(const RecordLayout& layout, std::span<const std::uint8_t> value, std::size_t n,
               const std::string& where, PropertyList& list) {
    const Bytes bytes(value);
    switch (layout.encoding) {
        case Encoding::kFourCharCode:
            list.*layout.text = bytes.Code(0, where);
            return;
        case Encoding::kPascalString: {
            const std::size_t length = value[0];
            Require(pipl::PaddedLength(1 + length) == n,
                    where + ": a string of " + std::to_string(length) +
                        " characters takes " + std::to_string(pipl::PaddedLength(1 + length)) +
                        " bytes, not " + std::to_string(n));
            Require(AllZero(value.subspan(1 + length)), where + ": padding is not zero");
            // A zero byte would end the text early wherever it is read as C text.
            const auto text = value.subspan(1, length);
            Require(std::find(text.begin(), text.end(), std::uint8_t{0}) == text.end(),
                    where + ": the string holds a zero byte");
            list.*layout.text = std::string(value.begin() + 1, value.begin() + 1 + length);
            return;
        }
        case Encoding::kCString: {
            const auto end = std::find(value.begin(), value.end(), std::uint8_t{0});
            Require(end != value.end(), where + ": the string has no terminator");
            const std::size_t length = static_cast<std::size_t>(end - value.begin());
            Require(pipl::PaddedLength(length + 1) == n,
                    where + ": a string of " + std::to_string(length) + " characters takes " +
                        std::to_string(pipl::PaddedLength(length + 1)) + " bytes, not " +
                        std::to_string(n));
            Require(AllZero(value.subspan(length)), where + ": padding is not zero");
            list.*layout.text = std::string(value.begin(), end);
            return;
        }
        case Encoding::kVersionPair:
            list.*layout.major = static_cast<int>(bytes.Number(0, 2, where));
            list.*layout.minor = static_cast<int>(bytes.Number(2, 2, where));
            return;
        case Encoding::kLong:
            list.*layout.number = bytes.Number(0, 4, where);
            return;
        case Encoding::kShort:
            Require(AllZero(value.subspan(2)), where + ": padding is not zero");
            list.*layout.number = bytes.Number(0, 2, where);
            return;
    }
}

PropertyList Parse(const Bytes& bytes) {
    Require(bytes.Number(0, 2, "header") == pipl::kListVersion,
            "header: list version is not " + std::to_string(pipl::kListVersion));
    Require(bytes.Number(2, 4, "header") == 0, "header: reserved field is not zero");
    const std::uint32_t count = bytes.Number(6, 4, "header");
    Require(count == pipl::kRecords.size(), "header: " + std::to_string(count) +
                                                " records announced, expected " +
                                                std::to_string(pipl::kRecords.size()));

    PropertyList list{};
    std::size_t offset = pipl::kHeaderSize;
    for (std::size_t i = 0; i < pipl::kRecords.size(); ++i) {
        const RecordLayout& layout = pipl::kRecords[i];
        std::string where = "record " + std::to_string(i + 1);
        Require(bytes.Code(offset, where) == pipl::kVendor,
                where + ": vendor is not " + Quoted(pipl::kVendor));

        const std::string key = bytes.Code(offset + 4, where);
        if (i == pipl::kEntryPointRecord) {
            Require(key == EntryPointKeyOf(Generation::kCurrent) ||
                        key == EntryPointKeyOf(Generation::kLegacy),
                    where + ": key " + Quoted(key) + " is not an entry-point key");
            list.entry_point_key = key;
        } else {
            Require(key == layout.key, where + ": key " + Quoted(key) + ", expected " +
                                           Quoted(layout.key));
        }
        where += " (" + Quoted(key) + ")";
        Require(bytes.Number(offset + 8, 4, where) == 0, where + ": property id is not zero");

        const std::size_t n = bytes.Number(offset + 12, 4, where);
        const std::size_t fixed = pipl::FixedValueLength(layout.encoding);
        Require(fixed != 0 ? n == fixed : n > 0 && n % 4 == 0,
                where + ": value length " + std::to_string(n) + " is not allowed");
        const auto value = bytes.Take(offset + pipl::kRecordHeaderSize, pipl::PaddedLength(n), where);
        ReadValue(layout, value, n, where, list);
        offset += pipl::kRecordHeaderSize + value.size();
    }
    Require(offset == bytes.size(), std::to_string(bytes.size() - offset) +
                                        " bytes follow the last record");
    return list;
}

}  // namespace

std::optional<PropertyList> ParsePropertyList(std::span<const std::uint8_t> bytes,
                                              std::string* error) {
    try {
        return Parse(Bytes(bytes));
    } catch (const ParseFailure& failure) {
        if (error) *error = "property list: " + failure.text;
        return std::nullopt;
    }
}

}  // namespace knotwell::host
