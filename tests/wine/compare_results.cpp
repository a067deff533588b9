// compare_results EXPECTED ACTUAL: two result.json files of the same
// project, one run natively and one under Wine, agree to 1e-9. Exit code
// 0 when they do, 1 when they differ (the places printed), 2 when a file
// cannot be read.
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "tests/wine/json_compare.h"

namespace {

constexpr double kTolerance = 1e-9;

std::optional<nlohmann::json> ReadJson(const char* path) {
    std::ifstream file(path, std::ios::binary);
    nlohmann::json document = nlohmann::json::parse(file, nullptr, false);
    if (!file.is_open() || document.is_discarded()) {
        std::cerr << "compare_results: cannot read JSON from " << path << "\n";
        return std::nullopt;
    }
    return document;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: compare_results EXPECTED.json ACTUAL.json\n";
        return 2;
    }
    const std::optional<nlohmann::json> expected = ReadJson(argv[1]);
    const std::optional<nlohmann::json> actual = ReadJson(argv[2]);
    if (!expected || !actual) return 2;
    const std::vector<std::string> differences = knotwell::test::JsonDifferences(*expected, *actual, kTolerance);
    for (const std::string& difference : differences) std::cout << difference << "\n";
    return differences.empty() ? 0 : 1;
}
