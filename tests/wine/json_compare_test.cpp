// The comparison of a native and a Wine run's results.
#include <gtest/gtest.h>

#include "tests/wine/json_compare.h"

namespace knotwell::test {
namespace {

using nlohmann::json;

struct Case {
    const char* name;
    const char* expected;
    const char* actual;
    std::vector<std::string> differences;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.name; }

const Case kCases[] = {
    {"Same", R"({"a": [1, 2.5, "x", true, null]})", R"({"a": [1, 2.5, "x", true, null]})", {}},
    {"WithinTolerance", R"({"x": 160.0000000001})", R"({"x": 160})", {}},
    {"BeyondTolerance", R"({"x": 160.00000001})", R"({"x": 160})", {"/x: 160.00000001 against 160"}},
    {"DeepPath", R"({"l": [{"m": [0, 1]}]})", R"({"l": [{"m": [0, 2]}]})", {"/l/0/m/1: 1 against 2"}},
    {"MissingAndExtraKeys", R"({"a": 1})", R"({"b": 1})", {"/a: missing", "/b: not expected"}},
    {"ArrayLengths", R"([1, 2])", R"([1])", {"/: 2 items against 1"}},
    {"Types", R"({"a": "1"})", R"({"a": 1})", {"/a: string against number"}},
    {"Strings", R"(["Knotwell"])", R"(["Knotwel"])", {"/0: \"Knotwell\" against \"Knotwel\""}},
};

class JsonDifferencesTest : public ::testing::TestWithParam<Case> {};

TEST_P(JsonDifferencesTest, NamesEachDifferenceByItsPath) {
    const Case& c = GetParam();
    EXPECT_EQ(JsonDifferences(json::parse(c.expected), json::parse(c.actual), 1e-9), c.differences);
}

INSTANTIATE_TEST_SUITE_P(Cases, JsonDifferencesTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JsonDifferences, StopsAtTheLimit) {
    EXPECT_EQ(JsonDifferences(json::parse("[1, 2, 3]"), json::parse("[4, 5, 6]"), 1e-9, 2).size(), 2u);
}

}  // namespace
}  // namespace knotwell::test
