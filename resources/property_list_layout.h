// Byte layout of a plug-in property list, shared by the writer and the
// host's reader so that both walk the same table. All numbers are
// little-endian; four-character codes are stored as 32-bit numbers, so
// their characters appear reversed ("kind" is stored as d, n, i, k).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "headless_host/loading/property_list.h"

namespace knotwell::pipl {

// Header: 16-bit list version, 32-bit reserved zero, 32-bit record count.
inline constexpr std::size_t kHeaderSize = 10;
inline constexpr std::uint16_t kListVersion = 1;

// Record: vendor, key, 32-bit id (always 0), 32-bit value length n, then
// the value padded with zero bytes to the next multiple of four.
inline constexpr std::size_t kRecordHeaderSize = 16;
inline constexpr std::string_view kVendor = "8BIM";

enum class Encoding {
    kFourCharCode,  // 4 bytes
    kPascalString,  // length byte and characters
    kCString,       // characters and a terminator
    kVersionPair,   // two 16-bit numbers, major then minor
    kLong,          // 32-bit number
    kShort,         // 16-bit number (n is 2, the value still takes 4 bytes)
};

using PropertyList = host::PropertyList;

// One record: its key and where its value lives in PropertyList. The key of
// the entry-point record names the processor the code is built for; it is
// the `entry_point_key` field (EntryPointKeyOf in headless_host/generation.h).
struct RecordLayout {
    std::string_view key;
    Encoding encoding;
    std::string PropertyList::*text = nullptr;
    int PropertyList::*major = nullptr;
    int PropertyList::*minor = nullptr;
    std::uint32_t PropertyList::*number = nullptr;
};

inline constexpr std::size_t kEntryPointRecord = 3;

inline constexpr std::array<RecordLayout, 12> kRecords{{
    {"kind", Encoding::kFourCharCode, &PropertyList::kind},
    {"name", Encoding::kPascalString, &PropertyList::display_name},
    {"catg", Encoding::kPascalString, &PropertyList::category},
    {"", Encoding::kCString, &PropertyList::entry_point},
    {"ePVR", Encoding::kVersionPair, nullptr, &PropertyList::pipl_version_major,
     &PropertyList::pipl_version_minor},
    {"eSVR", Encoding::kVersionPair, nullptr, &PropertyList::spec_version_major,
     &PropertyList::spec_version_minor},
    {"eVER", Encoding::kLong, nullptr, nullptr, nullptr, &PropertyList::version},
    {"eINF", Encoding::kShort, nullptr, nullptr, nullptr, &PropertyList::info_flags},
    {"eGLO", Encoding::kLong, nullptr, nullptr, nullptr, &PropertyList::global_outflags},
    {"eGL2", Encoding::kLong, nullptr, nullptr, nullptr, &PropertyList::global_outflags2},
    {"eMNA", Encoding::kPascalString, &PropertyList::match_name},
    {"aeFL", Encoding::kLong, nullptr, nullptr, nullptr, &PropertyList::reserved_info},
}};

// Value length n of a fixed-size encoding; 0 for the strings.
constexpr std::size_t FixedValueLength(Encoding encoding) {
    switch (encoding) {
        case Encoding::kFourCharCode:
        case Encoding::kVersionPair:
        case Encoding::kLong:
            return 4;
        case Encoding::kShort:
            return 2;
        case Encoding::kPascalString:
        case Encoding::kCString:
            return 0;
    }
    return 0;
}

constexpr std::size_t PaddedLength(std::size_t n) { return (n + 3) / 4 * 4; }

}  // namespace knotwell::pipl
