// A folder with the test effect installed twice, as "Current" and as
// "Legacy", for the tests that load it into a host.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "headless_host/generation.h"
#include "headless_host/loading/plugin_library.h"
#include "resources/plugin_property_list.h"
#include "resources/property_list_writer.h"

namespace knotwell::host {

// Installs the test effect under `name` for `generation`: the library and
// its property list beside it, as the build installs the real plug-ins.
inline std::filesystem::path Install(const std::filesystem::path& folder, const std::string& name,
                                     Generation generation) {
    const std::filesystem::path library = folder / (name + PluginExtension());
    std::filesystem::copy_file(HOST_TEST_EFFECT_PATH, library,
                               std::filesystem::copy_options::overwrite_existing);
    const auto bytes =
        pipl::WritePropertyList(pipl::PluginPropertyList(name, name + " by Tests", generation));
    std::ofstream(std::filesystem::path(library).replace_extension(".pipl"), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return library;
}

class TestEffectFolder : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  ("knotwell_host_" + std::string(test->test_suite_name()) + "_" + test->name());
        std::filesystem::create_directories(folder_);
        current_ = Install(folder_, "Current", Generation::kCurrent);
        legacy_ = Install(folder_, "Legacy", Generation::kLegacy);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_, current_, legacy_;
};

}  // namespace knotwell::host
