#include "tests/wine/json_compare.h"

#include <cmath>

namespace knotwell::test {
namespace {

using nlohmann::json;

struct Comparison {
    double tolerance;
    std::size_t limit;
    std::vector<std::string> differences;

    bool Full() const { return differences.size() >= limit; }

    void Note(const std::string& path, const std::string& what) {
        if (!Full()) differences.push_back((path.empty() ? "/" : path) + ": " + what);
    }

    void Compare(const json& expected, const json& actual, const std::string& path) {
        if (Full()) return;
        if (expected.is_number() && actual.is_number()) {
            const double a = expected.get<double>();
            const double b = actual.get<double>();
            // NaN is never within tolerance, so it cannot hide a difference.
            if (!(std::fabs(a - b) <= tolerance)) Note(path, expected.dump() + " against " + actual.dump());
            return;
        }
        if (expected.type() != actual.type()) {
            Note(path, std::string(expected.type_name()) + " against " + actual.type_name());
            return;
        }
        if (expected.is_object()) {
            for (const auto& [key, value] : expected.items()) {
                const auto other = actual.find(key);
                if (other == actual.end()) {
                    Note(path + "/" + key, "missing");
                } else {
                    Compare(value, *other, path + "/" + key);
                }
            }
            for (const auto& [key, value] : actual.items()) {
                if (!expected.contains(key)) Note(path + "/" + key, "not expected");
            }
        } else if (expected.is_array()) {
            if (expected.size() != actual.size()) {
                Note(path, std::to_string(expected.size()) + " items against " + std::to_string(actual.size()));
                return;
            }
            for (std::size_t i = 0; i < expected.size(); ++i) Compare(expected[i], actual[i], path + "/" + std::to_string(i));
        } else if (expected != actual) {
            Note(path, expected.dump() + " against " + actual.dump());
        }
    }
};

}  // namespace

std::vector<std::string> JsonDifferences(const json& expected, const json& actual, double tolerance,
                                         std::size_t limit) {
    Comparison comparison{tolerance, limit, {}};
    comparison.Compare(expected, actual, "");
    return comparison.differences;
}

}  // namespace knotwell::test
