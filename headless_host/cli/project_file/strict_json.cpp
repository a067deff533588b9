#include "headless_host/cli/project_file/strict_json.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "headless_host/cli/project_file/json_path.h"

namespace knotwell::project_file {
namespace {

// nlohmann's message without its "[json.exception...] parse error at line
// 2, column 7: " lead, which the caller replaces with its own place.
std::string BareMessage(std::string what) {
    if (const auto end = what.find("] "); what.starts_with("[json.") && end != std::string::npos) {
        what.erase(0, end + 2);
    }
    if (const auto colon = what.find(": "); what.starts_with("parse error") && colon != std::string::npos) {
        what.erase(0, colon + 2);
    }
    return what;
}

std::string LineAndColumn(std::string_view text, std::size_t position) {
    const std::string_view before = text.substr(0, std::min(position, text.size()));
    const auto line = std::count(before.begin(), before.end(), '\n') + 1;
    const auto line_start = before.rfind('\n');
    const auto column = line_start == std::string_view::npos ? before.size() : before.size() - line_start - 1;
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// Builds the document as nlohmann's own parser does, keeping track of the
// open containers so that a repeated key can be named by its path.
class StrictBuilder : public nlohmann::json_sax<Json> {
public:
    explicit StrictBuilder(std::string_view text) : text_(text) {}

    bool null() override { return Add(nullptr); }
    bool boolean(bool value) override { return Add(value); }
    bool number_integer(number_integer_t value) override { return Add(value); }
    bool number_unsigned(number_unsigned_t value) override { return Add(value); }
    bool number_float(number_float_t value, const string_t&) override { return Add(value); }
    bool string(string_t& value) override { return Add(value); }
    bool binary(binary_t& value) override { return Add(Json::binary(value)); }
    bool start_object(std::size_t) override { return Open(Json::object()); }
    bool start_array(std::size_t) override { return Open(Json::array()); }
    bool end_object() override { return Close(); }
    bool end_array() override { return Close(); }

    bool key(string_t& key) override {
        OpenContainer& open = open_.back();
        if (!open.keys.insert(key).second) {
            error_ = FileError{FieldPath(PathOfOpen(), key), "this field is given twice"};
            return false;
        }
        open.key = key;
        return true;
    }

    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception& ex) override {
        error_ = FileError{"", LineAndColumn(text_, position) + ": " + BareMessage(ex.what())};
        return false;
    }

    Result<Json, FileError> Take() && {
        if (error_) return *std::move(error_);
        return std::move(root_);
    }

private:
    struct OpenContainer {
        Json* container;
        std::string path;
        std::string key;  // of the value that comes next, in an object
        std::set<std::string, std::less<>> keys;
    };

    // Where the next value goes, and its path.
    std::pair<Json*, std::string> Place(Json value) {
        if (open_.empty()) {
            root_ = std::move(value);
            return {&root_, ""};
        }
        OpenContainer& open = open_.back();
        if (open.container->is_array()) {
            const std::size_t index = open.container->size();
            open.container->push_back(std::move(value));
            return {&open.container->back(), ItemPath(open.path, index)};
        }
        Json& slot = (*open.container)[open.key];
        slot = std::move(value);
        return {&slot, FieldPath(open.path, open.key)};
    }

    bool Add(Json value) {
        Place(std::move(value));
        return true;
    }

    bool Open(Json empty) {
        auto [container, path] = Place(std::move(empty));
        open_.push_back({container, std::move(path), {}, {}});
        return true;
    }

    bool Close() {
        open_.pop_back();
        return true;
    }

    std::string PathOfOpen() const { return open_.back().path; }

    std::string_view text_;
    Json root_;
    std::vector<OpenContainer> open_;
    std::optional<FileError> error_;
};

}  // namespace

Result<Json, FileError> ParseStrictJson(std::string_view text) {
    StrictBuilder builder(text);
    Json::sax_parse(text, &builder);
    return std::move(builder).Take();
}

}  // namespace knotwell::project_file
