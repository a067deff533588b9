// Two JSON documents compared as results of the same run on two systems:
// the same structure, strings and flags, numbers equal to a tolerance.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace knotwell::test {

// Each place where `actual` differs from `expected`, as "<path>: <what>",
// at most `limit` of them; empty when they agree. Numbers agree when they
// differ by at most `tolerance`, whether written as integers or not.
std::vector<std::string> JsonDifferences(const nlohmann::json& expected, const nlohmann::json& actual,
                                         double tolerance, std::size_t limit = 20);

}  // namespace knotwell::test
