#include "headless_host/cli/project_file/json_path.h"

#include <algorithm>

#include <nlohmann/json.hpp>

namespace knotwell::project_file {
namespace {

bool IsPlainWord(std::string_view key) {
    const auto word_char = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_';
    };
    return !key.empty() && !(key[0] >= '0' && key[0] <= '9') &&
           std::all_of(key.begin(), key.end(), word_char);
}

}  // namespace

std::string FieldPath(std::string_view parent, std::string_view key) {
    if (!IsPlainWord(key)) {
        return std::string(parent) + "[" + nlohmann::json(key).dump() + "]";
    }
    return parent.empty() ? std::string(key) : std::string(parent) + "." + std::string(key);
}

std::string ItemPath(std::string_view parent, std::size_t index) {
    return std::string(parent) + "[" + std::to_string(index) + "]";
}

}  // namespace knotwell::project_file
