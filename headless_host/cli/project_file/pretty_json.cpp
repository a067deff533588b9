#include "headless_host/cli/project_file/pretty_json.h"

namespace knotwell::project_file {
namespace {

constexpr std::size_t kLineWidth = 80;
constexpr std::size_t kIndent = 2;

// Text a plug-in hands out may not be UTF-8: replaced, not refused.
std::string Scalar(const Json& json) { return json.dump(-1, ' ', false, Json::error_handler_t::replace); }

std::string Key(const std::string& key) { return Scalar(Json(key)) + ": "; }

std::string OneLine(const Json& json) {
    if (!json.is_structured()) return Scalar(json);
    std::string text = json.is_object() ? "{" : "[";
    bool first = true;
    for (const auto& [key, value] : json.items()) {
        text += first ? "" : ", ";
        if (json.is_object()) text += Key(key);
        text += OneLine(value);
        first = false;
    }
    return text + (json.is_object() ? "}" : "]");
}

void Write(const Json& json, std::size_t indent, std::string& out) {
    std::string line = OneLine(json);
    if (!json.is_structured() || indent + line.size() <= kLineWidth) {
        out += line;
        return;
    }
    const std::string inner(indent + kIndent, ' ');
    out += json.is_object() ? "{\n" : "[\n";
    bool first = true;
    for (const auto& [key, value] : json.items()) {
        out += first ? "" : ",\n";
        out += inner;
        if (json.is_object()) out += Key(key);
        Write(value, indent + kIndent, out);
        first = false;
    }
    out += "\n" + std::string(indent, ' ') + (json.is_object() ? "}" : "]");
}

}  // namespace

std::string PrettyJson(const Json& json) {
    std::string out;
    Write(json, 0, out);
    return out + "\n";
}

}  // namespace knotwell::project_file
