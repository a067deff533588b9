#include "tests/cli/scratch_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "headless_host/cli/command_line.h"

namespace knotwell::test {

ScratchFolder::ScratchFolder() {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("knotwell-cli-") + test->test_suite_name() + "-" + test->name() + "-" +
                       std::to_string(getpid());
    for (char& c : name) {
        if (c == '/') c = '_';
    }
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() { std::filesystem::remove_all(path_); }

std::filesystem::path ScratchFolder::Write(const std::string& name, const std::string& text) const {
    const std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << text;
    return file;
}

CommandResult RunKnotwellHost(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int exit_code = cli::RunCommandLine(args, KNOTWELL_PLUGIN_DIR, out, err);
    return {exit_code, out.str(), err.str()};
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace knotwell::test
