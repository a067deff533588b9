// Strict reading of JSON values, each failure naming its path. Used by the
// project reader, which turns the thrown ReadError into its result.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "headless_host/cli/project_file/description.h"
#include "headless_host/cli/project_file/strict_json.h"

namespace knotwell::project_file {

struct ReadError {
    FileError error;
};

[[noreturn]] void Fail(std::string path, std::string message);

double Number(const Json& json, const std::string& path);  // finite
int Integer(const Json& json, const std::string& path, int min, int max);
bool Boolean(const Json& json, const std::string& path);
std::string String(const Json& json, const std::string& path);
std::string NonEmptyString(const Json& json, const std::string& path);
Point PointValue(const Json& json, const std::string& path);  // [x, y]
const Json& Array(const Json& json, const std::string& path);
const Json& Object(const Json& json, const std::string& path);  // any keys

// An object whose fields must all be among the known ones.
class ObjectReader {
public:
    ObjectReader(const Json& json, std::string path, std::initializer_list<std::string_view> known);

    const std::string& path() const { return path_; }
    std::string PathOf(std::string_view key) const;
    const Json* Find(std::string_view key) const;
    const Json& Get(std::string_view key) const;  // the field must be there

    int Integer(std::string_view key, int min, int max) const;
    int Integer(std::string_view key, int min, int max, int fallback) const;
    bool Boolean(std::string_view key, bool fallback) const;
    std::string NonEmptyString(std::string_view key) const;
    std::string NonEmptyString(std::string_view key, std::string fallback) const;

private:
    const Json& json_;
    std::string path_;
};

}  // namespace knotwell::project_file
