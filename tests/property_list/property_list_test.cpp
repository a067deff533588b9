// The property list writer and the host's reader against the bytes a
// plug-in library must carry, and the reader against damaged input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "headless_host/loading/property_list.h"
#include "resources/plugin_property_list.h"
#include "resources/property_list_writer.h"
#include "tests/property_list/print_property_list.h"

namespace {

using namespace std::string_literals;
using knotwell::host::ParsePropertyList;
using knotwell::host::PropertyList;
using knotwell::host::Generation;
using knotwell::pipl::PluginPropertyList;
using knotwell::pipl::WritePropertyList;

// The vertex editor's 64-bit property list, written out by hand: header,
// then per record vendor, key (both byte-reversed), id, n, padded value.
const std::string kKnotwellCurrent =
    "\x01\x00" "\0\0\0\0" "\x0c\0\0\0"
    "MIB8" "dnik" "\0\0\0\0" "\x04\0\0\0" "TKFe"
    "MIB8" "eman" "\0\0\0\0" "\x0c\0\0\0" "\x08Knotwell" "\0\0\0"
    "MIB8" "gtac" "\0\0\0\0" "\x08\0\0\0" "\x06Morvex" "\0"
    "MIB8" "4668" "\0\0\0\0" "\x10\0\0\0" "EntryPointFunc" "\0\0"
    "MIB8" "RVPe" "\0\0\0\0" "\x04\0\0\0" "\x02\0\0\0"
    "MIB8" "RVSe" "\0\0\0\0" "\x04\0\0\0" "\x0d\0\0\0"
    "MIB8" "REVe" "\0\0\0\0" "\x04\0\0\0" "\x01\x06\x08\0"
    "MIB8" "FNIe" "\0\0\0\0" "\x02\0\0\0" "\0\0\0\0"
    "MIB8" "OLGe" "\0\0\0\0" "\x04\0\0\0" "\0\0\0\x06"
    "MIB8" "2LGe" "\0\0\0\0" "\x04\0\0\0" "\0\x14\0\0"
    "MIB8" "ANMe" "\0\0\0\0" "\x14\0\0\0" "\x13Knotwell by Brenlow"
    "MIB8" "LFea" "\0\0\0\0" "\x04\0\0\0" "\x08\0\0\0"s;

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

void ReplaceOnce(std::string& text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    ASSERT_NE(at, std::string::npos) << from;
    text.replace(at, from.size(), to);
}

// The 32-bit build differs in the entry-point key and the interface version.
std::string KnotwellLegacy() {
    std::string text = kKnotwellCurrent;
    ReplaceOnce(text, "4668", "68xw");
    ReplaceOnce(text, "RVSe\0\0\0\0\x04\0\0\0\x0d\0\0\0"s, "RVSe\0\0\0\0\x04\0\0\0\x0c\0\x0a\0"s);
    return text;
}

PropertyList Knotwell(Generation generation) {
    return PluginPropertyList("Knotwell", "Knotwell by Brenlow", generation);
}

TEST(PropertyListWriter, WritesTheVertexEditorsBytesForBothGenerations) {
    EXPECT_EQ(WritePropertyList(Knotwell(Generation::kCurrent)), Bytes(kKnotwellCurrent));
    EXPECT_EQ(WritePropertyList(Knotwell(Generation::kLegacy)), Bytes(KnotwellLegacy()));
}

TEST(PropertyListWriter, RefusesValuesItCannotEncode) {
    const std::vector<std::function<void(PropertyList&)>> damage = {
        [](PropertyList& l) { l.kind = "eFK"; },
        [](PropertyList& l) { l.entry_point_key = "86641"; },
        [](PropertyList& l) { l.display_name = std::string(256, 'K'); },
        [](PropertyList& l) { l.entry_point = "Entry\0Point"s; },
        [](PropertyList& l) { l.spec_version_minor = 0x10000; },
        [](PropertyList& l) { l.info_flags = 0x10000; },
    };
    for (std::size_t i = 0; i < damage.size(); ++i) {
        PropertyList list = Knotwell(Generation::kCurrent);
        damage[i](list);
        EXPECT_THROW(WritePropertyList(list), std::invalid_argument) << "case " << i;
    }
}

TEST(PropertyListReader, ReadsTheTwelveRecords) {
    std::string error;
    const auto list = ParsePropertyList(Bytes(kKnotwellCurrent), &error);
    ASSERT_TRUE(list) << error;
    EXPECT_EQ(list->kind, "eFKT");
    EXPECT_EQ(list->display_name, "Knotwell");
    EXPECT_EQ(list->category, "Morvex");
    EXPECT_EQ(list->entry_point_key, "8664");
    EXPECT_EQ(list->entry_point, "EntryPointFunc");
    EXPECT_EQ(list->pipl_version_major, 2);
    EXPECT_EQ(list->pipl_version_minor, 0);
    EXPECT_EQ(list->spec_version_major, 13);
    EXPECT_EQ(list->spec_version_minor, 0);
    EXPECT_EQ(list->version, 525825u);
    EXPECT_EQ(list->info_flags, 0u);
    EXPECT_EQ(list->global_outflags, 0x06000000u);
    EXPECT_EQ(list->global_outflags2, 0x1400u);
    EXPECT_EQ(list->match_name, "Knotwell by Brenlow");
    EXPECT_EQ(list->reserved_info, 8u);

    const auto legacy = ParsePropertyList(Bytes(KnotwellLegacy()), &error);
    ASSERT_TRUE(legacy) << error;
    EXPECT_EQ(*legacy, Knotwell(Generation::kLegacy));
}

TEST(PropertyListReader, ReadsBackWhatTheWriterWritesForEveryLibrary) {
    const struct {
        const char* display_name;
        const char* match_name;
    } plugins[] = {{"Knotwell", "Knotwell by Brenlow"},
                   {"Knotwell Maker", "Knotwell Maker by Brenlow"},
                   {"Knotwell Baker", "Knotwell Baker by Brenlow"}};
    for (const auto& plugin : plugins) {
        for (Generation generation : {Generation::kCurrent, Generation::kLegacy}) {
            const PropertyList list =
                PluginPropertyList(plugin.display_name, plugin.match_name, generation);
            std::string error;
            EXPECT_EQ(ParsePropertyList(WritePropertyList(list), &error), list)
                << plugin.display_name << ": " << error;
        }
    }
}

TEST(PropertyListReader, InfoFlagsRecordIsTwoBytesLongButTakesFour) {
    const std::size_t info = kKnotwellCurrent.find("MIB8FNIe");
    ASSERT_NE(info, std::string::npos);
    EXPECT_EQ(kKnotwellCurrent.substr(info + 12, 4), "\x02\0\0\0"s);
    EXPECT_EQ(kKnotwellCurrent.substr(info + 20, 8), "MIB8OLGe");

    std::string four_long = kKnotwellCurrent;
    four_long[info + 12] = 4;
    std::string error;
    EXPECT_FALSE(ParsePropertyList(Bytes(four_long), &error));
    EXPECT_NE(error.find("value length 4"), std::string::npos) << error;
}

TEST(PropertyListReader, RefusesEveryTruncationAndTrailingBytes) {
    for (std::size_t size = 0; size < kKnotwellCurrent.size(); ++size) {
        std::string error;
        EXPECT_FALSE(ParsePropertyList(Bytes(kKnotwellCurrent.substr(0, size)), &error)) << size;
        EXPECT_FALSE(error.empty()) << size;
    }
    std::string error;
    EXPECT_FALSE(ParsePropertyList(Bytes(kKnotwellCurrent + "\0"s), &error));
    EXPECT_NE(error.find("1 bytes follow the last record"), std::string::npos) << error;
}

TEST(PropertyListReader, RefusesDamagedRecordsSayingWhy) {
    const struct {
        std::string from, to, reason;
    } cases[] = {
        {"\x01\x00\0\0\0\0"s, "\x02\x00\0\0\0\0"s, "list version"},
        {"\x01\x00\0\0\0\0"s, "\x01\x00\x01\0\0\0"s, "reserved"},
        {"\x0c\0\0\0MIB8"s, "\x0d\0\0\0MIB8"s, "13 records"},
        {"MIB8dnik", "MIB9dnik", "vendor"},
        {"dnik\0\0\0\0"s, "dnik\x01\0\0\0"s, "property id"},
        {"eman", "gtac", "expected \"name\""},
        {"4668", "4666", "not an entry-point key"},
        {"\x08Knotwell\0\0\0"s, "\x0cKnotwell\0\0\0"s, "takes"},
        {"\x08Knotwell\0\0\0"s, "\x08Knotwell\0\0\x01"s, "padding"},
        {"\x08Knotwell\0\0\0"s, "\x09Knotwell\0\0\0"s, "holds a zero byte"},
        {"eman\0\0\0\0\x0c\0\0\0"s, "eman\0\0\0\0\xf0\xff\xff\xff"s, "needs"},
        {"eman\0\0\0\0\x0c\0\0\0"s, "eman\0\0\0\0\x0d\0\0\0"s, "value length 13"},
        {"EntryPointFunc\0\0"s, "EntryPointFunc!!"s, "terminator"},
        {"EntryPointFunc\0\0"s, "EntryPoint\0unc\0\0"s, "takes"},
        {"FNIe\0\0\0\0\x02\0\0\0\0\0\0\0"s, "FNIe\0\0\0\0\x02\0\0\0\0\0\x01\0"s, "padding"},
    };
    for (const auto& c : cases) {
        std::string text = kKnotwellCurrent;
        ReplaceOnce(text, c.from, c.to);
        std::string error;
        EXPECT_FALSE(ParsePropertyList(Bytes(text), &error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(PropertyListReader, SurvivesAnySingleDamagedByte) {
    // Run under the sanitizer build this also proves no read leaves the input.
    for (std::size_t at = 0; at < kKnotwellCurrent.size(); ++at) {
        for (char value : {'\0', '\x7f', '\xff'}) {
            std::string text = kKnotwellCurrent;
            text[at] = value;
            std::string error;
            const auto list = ParsePropertyList(Bytes(text), &error);
            EXPECT_TRUE(list || !error.empty()) << at;
        }
    }
}

}  // namespace
