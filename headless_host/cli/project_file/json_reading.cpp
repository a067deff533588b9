#include "headless_host/cli/project_file/json_reading.h"

#include <cmath>
#include <utility>

#include "headless_host/cli/project_file/json_path.h"

namespace knotwell::project_file {
namespace {

std::string KindOf(const Json& json) {
    switch (json.type()) {
    case Json::value_t::object: return "an object";
    case Json::value_t::array: return "a list of " + std::to_string(json.size());
    case Json::value_t::string: return "the text " + json.dump();
    case Json::value_t::boolean: return json.get<bool>() ? "true" : "false";
    case Json::value_t::null: return "null";
    default: return "the number " + json.dump();
    }
}

[[noreturn]] void Expected(const Json& json, const std::string& path, std::string_view what) {
    Fail(path, "expected " + std::string(what) + ", got " + KindOf(json));
}

}  // namespace

void Fail(std::string path, std::string message) {
    throw ReadError{FileError{std::move(path), std::move(message)}};
}

double Number(const Json& json, const std::string& path) {
    if (!json.is_number()) Expected(json, path, "a number");
    const double value = json.get<double>();
    if (!std::isfinite(value)) Fail(path, "the number is out of range");
    return value;
}

int Integer(const Json& json, const std::string& path, int min, int max) {
    const std::string what =
        "a whole number from " + std::to_string(min) + " to " + std::to_string(max);
    if (!json.is_number()) Expected(json, path, what);
    const double value = json.get<double>();
    if (value != std::floor(value) || value < min || value > max) Expected(json, path, what);
    return static_cast<int>(value);
}

bool Boolean(const Json& json, const std::string& path) {
    if (!json.is_boolean()) Expected(json, path, "true or false");
    return json.get<bool>();
}

std::string String(const Json& json, const std::string& path) {
    if (!json.is_string()) Expected(json, path, "a text in quotes");
    return json.get<std::string>();
}

std::string NonEmptyString(const Json& json, const std::string& path) {
    std::string text = String(json, path);
    if (text.empty()) Fail(path, "the text cannot be empty");
    return text;
}

Point PointValue(const Json& json, const std::string& path) {
    if (!json.is_array() || json.size() != 2) Expected(json, path, "a point [x, y]");
    return {Number(json[0], ItemPath(path, 0)), Number(json[1], ItemPath(path, 1))};
}

const Json& Array(const Json& json, const std::string& path) {
    if (!json.is_array()) Expected(json, path, "a list [...]");
    return json;
}

const Json& Object(const Json& json, const std::string& path) {
    if (!json.is_object()) Expected(json, path, "an object {...}");
    return json;
}

ObjectReader::ObjectReader(const Json& json, std::string path,
                           std::initializer_list<std::string_view> known)
    : json_(json), path_(std::move(path)) {
    Object(json, path_);
    for (const auto& [key, value] : json.items()) {
        bool is_known = false;
        for (std::string_view name : known) is_known = is_known || name == key;
        if (!is_known) {
            std::string names;
            for (std::string_view name : known) names += (names.empty() ? "" : ", ") + std::string(name);
            Fail(PathOf(key), "unknown field; known here: " + names);
        }
    }
}

std::string ObjectReader::PathOf(std::string_view key) const { return FieldPath(path_, key); }

const Json* ObjectReader::Find(std::string_view key) const {
    const auto it = json_.find(key);
    return it == json_.end() ? nullptr : &*it;
}

const Json& ObjectReader::Get(std::string_view key) const {
    const Json* value = Find(key);
    if (value == nullptr) Fail(path_, "missing field \"" + std::string(key) + "\"");
    return *value;
}

int ObjectReader::Integer(std::string_view key, int min, int max) const {
    return project_file::Integer(Get(key), PathOf(key), min, max);
}

int ObjectReader::Integer(std::string_view key, int min, int max, int fallback) const {
    const Json* value = Find(key);
    return value == nullptr ? fallback : project_file::Integer(*value, PathOf(key), min, max);
}

bool ObjectReader::Boolean(std::string_view key, bool fallback) const {
    const Json* value = Find(key);
    return value == nullptr ? fallback : project_file::Boolean(*value, PathOf(key));
}

std::string ObjectReader::NonEmptyString(std::string_view key) const {
    return project_file::NonEmptyString(Get(key), PathOf(key));
}

std::string ObjectReader::NonEmptyString(std::string_view key, std::string fallback) const {
    const Json* value = Find(key);
    return value == nullptr ? fallback : project_file::NonEmptyString(*value, PathOf(key));
}

}  // namespace knotwell::project_file
