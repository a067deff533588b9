// The six Windows libraries in dist/, read with our own PE reader: one
// export, only system DLLs, exactly the property list and the manifest; and
// the Windows tool beside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

#include "headless_host/loading/property_list.h"
#include "resources/plugin_property_list.h"
#include "resources/property_list_writer.h"
#include "tests/pe/pe_reader.h"
#include "tests/property_list/print_property_list.h"

namespace {

namespace fs = std::filesystem;
using knotwell::host::ParsePropertyList;
using knotwell::host::PropertyList;
using knotwell::host::Generation;

struct Library {
    const char* folder;
    const char* file;
    const char* display_name;
    const char* match_name;
    Generation generation;
};

const Library kLibraries[] = {
    {"win64", "Knotwell(64bit).aex", "Knotwell", "Knotwell by Brenlow", Generation::kCurrent},
    {"win64", "KnotwellMaker(64bit).aex", "Knotwell Maker", "Knotwell Maker by Brenlow",
     Generation::kCurrent},
    {"win64", "KnotwellBaker(64bit).aex", "Knotwell Baker", "Knotwell Baker by Brenlow",
     Generation::kCurrent},
    {"win32", "Knotwell.aex", "Knotwell", "Knotwell by Brenlow", Generation::kLegacy},
    {"win32", "KnotwellMaker.aex", "Knotwell Maker", "Knotwell Maker by Brenlow",
     Generation::kLegacy},
    {"win32", "KnotwellBaker.aex", "Knotwell Baker", "Knotwell Baker by Brenlow",
     Generation::kLegacy},
};

void PrintTo(const Library& library, std::ostream* out) { *out << library.file; }

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsSystemDll(const std::string& name) {
    static const char* const kSystem[] = {"kernel32.dll", "msvcrt.dll",  "user32.dll",
                                          "advapi32.dll", "ntdll.dll",   "ucrtbase.dll",
                                          "shell32.dll",  "ole32.dll",   "bcrypt.dll"};
    const std::string lower = Lower(name);
    return lower.starts_with("api-ms-win-") ||
           std::find(std::begin(kSystem), std::end(kSystem), lower) != std::end(kSystem);
}

// The property list every library must carry, written out from the table
// the host reads, independently of the generator.
PropertyList Expected(const Library& library) {
    const bool legacy = library.generation == Generation::kLegacy;
    return {.kind = "eFKT",
            .display_name = library.display_name,
            .category = "Morvex",
            .entry_point_key = legacy ? "wx86" : "8664",
            .entry_point = "EntryPointFunc",
            .pipl_version_major = 2,
            .pipl_version_minor = 0,
            .spec_version_major = legacy ? 12 : 13,
            .spec_version_minor = legacy ? 10 : 0,
            .version = 525825,
            .info_flags = 0,
            .global_outflags = 0x06000000,
            .global_outflags2 = 0x00001400,
            .match_name = library.match_name,
            .reserved_info = 8};
}

const knotwell::pe::Resource* FindResource(const knotwell::pe::Image& image,
                                           const std::string& type) {
    for (const auto& resource : image.resources) {
        if (resource.type == type) return &resource;
    }
    return nullptr;
}

fs::path PathOf(const Library& library) {
    return fs::path(KNOTWELL_DIST_DIR) / library.folder / library.file;
}

class DistTest : public testing::Test {
protected:
    void SetUp() override {
        if (!fs::is_directory(KNOTWELL_DIST_DIR)) {
            GTEST_SKIP() << KNOTWELL_DIST_DIR << " does not exist yet; "
                         << "`./knotwell build` makes the Windows libraries";
        }
    }
};

class BuiltLibrary : public DistTest, public testing::WithParamInterface<Library> {};

TEST_P(BuiltLibrary, ShowsTheHostOneExportAndOnlySystemImports) {
    const Library& library = GetParam();
    const auto image = knotwell::pe::ReadImage(ReadFile(PathOf(library)));
    const bool is_64bit = library.generation == Generation::kCurrent;
    EXPECT_EQ(image.machine, is_64bit ? knotwell::pe::kMachineAmd64 : knotwell::pe::kMachineI386);
    EXPECT_EQ(image.pe32_plus, is_64bit);

    EXPECT_EQ(image.export_names, std::vector<std::string>{"EntryPointFunc"});
    EXPECT_EQ(image.export_function_count, 1u);
    EXPECT_EQ(image.export_dll_name, library.file);

    EXPECT_FALSE(image.imported_dlls.empty());
    for (const auto& dll : image.imported_dlls) EXPECT_TRUE(IsSystemDll(dll)) << dll;
}

TEST_P(BuiltLibrary, CarriesExactlyThePropertyListAndTheManifest) {
    const Library& library = GetParam();
    const auto image = knotwell::pe::ReadImage(ReadFile(PathOf(library)));
    ASSERT_EQ(image.resources.size(), 2u);

    const auto* pipl = FindResource(image, "PIPL");
    ASSERT_NE(pipl, nullptr);
    EXPECT_EQ(pipl->name, "#16000");
    EXPECT_EQ(pipl->language, 1033u);
    std::string error;
    const auto list = ParsePropertyList(pipl->data, &error);
    ASSERT_TRUE(list) << error;
    EXPECT_EQ(*list, Expected(library));
    EXPECT_EQ(pipl->data, knotwell::pipl::WritePropertyList(knotwell::pipl::PluginPropertyList(
                              library.display_name, library.match_name, library.generation)));

    const auto* manifest = FindResource(image, "#24");
    ASSERT_NE(manifest, nullptr);
    EXPECT_EQ(manifest->name, "#2");
    EXPECT_EQ(manifest->language, 1033u);
    EXPECT_EQ(manifest->data, ReadFile(KNOTWELL_MANIFEST_FILE));
    const std::string text(manifest->data.begin(), manifest->data.end());
    EXPECT_NE(text.find(R"(level="asInvoker")"), std::string::npos);
    EXPECT_NE(text.find(R"(uiAccess="false")"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Dist, BuiltLibrary, testing::ValuesIn(kLibraries),
                         [](const testing::TestParamInfo<Library>& info) {
                             std::string name = info.param.file;
                             name.erase(std::remove_if(name.begin(), name.end(),
                                                       [](unsigned char c) { return !std::isalnum(c); }),
                                        name.end());
                             return name;
                         });

// The headless host for Windows beside them: a 64-bit program that needs no
// DLL of the compiler's runtime, so it runs wherever the .aex files do.
TEST_F(DistTest, WindowsHostImportsOnlySystemDlls) {
    const auto image = knotwell::pe::ReadImage(ReadFile(fs::path(KNOTWELL_DIST_DIR) / "tools" / "knotwell-host.exe"));
    EXPECT_EQ(image.machine, knotwell::pe::kMachineAmd64);
    EXPECT_TRUE(image.pe32_plus);
    EXPECT_FALSE(image.imported_dlls.empty());
    for (const auto& dll : image.imported_dlls) EXPECT_TRUE(IsSystemDll(dll)) << dll;
}

// Start of each record, walking the lengths the header of each record gives.
std::vector<std::size_t> RecordStarts(const std::vector<std::uint8_t>& pipl) {
    std::vector<std::size_t> starts;
    for (std::size_t at = 10; at + 16 <= pipl.size();) {
        starts.push_back(at);
        const std::size_t n = pipl[at + 12] | pipl[at + 13] << 8 | pipl[at + 14] << 16 |
                              static_cast<std::size_t>(pipl[at + 15]) << 24;
        at += 16 + (n + 3) / 4 * 4;
    }
    return starts;
}

TEST_F(DistTest, TwoBuildsOfAPlugInDifferOnlyInEntryPointKeyAndInterfaceVersion) {
    for (int plugin = 0; plugin < 3; ++plugin) {
        const Library& current = kLibraries[plugin];
        const Library& legacy = kLibraries[plugin + 3];
        const auto read_pipl = [](const Library& library) {
            const auto image = knotwell::pe::ReadImage(ReadFile(PathOf(library)));
            const auto* pipl = FindResource(image, "PIPL");
            return pipl ? pipl->data : std::vector<std::uint8_t>{};
        };
        const auto bytes64 = read_pipl(current);
        const auto bytes32 = read_pipl(legacy);
        ASSERT_EQ(bytes64.size(), bytes32.size()) << current.file;
        const auto starts = RecordStarts(bytes64);
        ASSERT_EQ(starts.size(), 12u);

        // Take the entry-point key (record 4) and the "eSVR" value (record 6)
        // from the 32-bit list; the rest must already be the same.
        auto patched = bytes64;
        std::copy_n(bytes32.begin() + starts[3] + 4, 4, patched.begin() + starts[3] + 4);
        std::copy_n(bytes32.begin() + starts[5] + 16, 4, patched.begin() + starts[5] + 16);
        EXPECT_EQ(patched, bytes32) << current.file;
        EXPECT_NE(bytes64, bytes32) << current.file;
    }
}

}  // namespace
