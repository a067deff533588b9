#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "headless_host/cli/project_file/atomic_file.h"

namespace knotwell::project_file {
namespace {

namespace fs = std::filesystem;

class WriteFileAtomicallyTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("project_file_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::size_t FilesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()));
    }

    fs::path folder_;
};

TEST_F(WriteFileAtomicallyTest, ReplacesTheFileWholeAndLeavesNothingElse) {
    const fs::path file = folder_ / "result.json";
    ASSERT_EQ(WriteFileAtomically(file, "old"), std::nullopt);
    ASSERT_EQ(WriteFileAtomically(file, "{\"new\": 1}\n"), std::nullopt);
    std::stringstream text;
    text << std::ifstream(file).rdbuf();
    EXPECT_EQ(text.str(), "{\"new\": 1}\n");
    EXPECT_EQ(FilesInFolder(), 1u);
}

TEST_F(WriteFileAtomicallyTest, AMissingFolderFailsWithAClearMessage) {
    const fs::path file = folder_ / "missing" / "result.json";
    const auto error = WriteFileAtomically(file, "text");
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find((folder_ / "missing").string() + " does not exist"), std::string::npos) << *error;
    EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(WriteFileAtomicallyTest, AFolderInPlaceOfTheFileFailsAndLeavesNoTemporary) {
    fs::create_directory(folder_ / "result.json");
    EXPECT_TRUE(WriteFileAtomically(folder_ / "result.json", "text").has_value());
    EXPECT_EQ(FilesInFolder(), 1u);
}

}  // namespace
}  // namespace knotwell::project_file
