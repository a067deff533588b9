#include "headless_host/cli/project_file/write_project.h"

#include <cmath>
#include <variant>

#include "headless_host/cli/project_file/pretty_json.h"
#include "headless_host/cli/project_file/strict_json.h"

namespace knotwell::project_file {
namespace {

// Whole numbers without ".0", as a person writes them; read back they are
// the same double.
Json NumberJson(double value) {
    if (std::trunc(value) == value && std::fabs(value) < 1e15) return static_cast<long long>(value);
    return value;
}

Json PointJson(const Point& point) { return Json::array({NumberJson(point.x), NumberJson(point.y)}); }

Json VerticesJson(const std::vector<Vertex>& vertices) {
    Json list = Json::array();
    for (const Vertex& vertex : vertices) {
        list.push_back({{"x", NumberJson(vertex.position.x)},
                        {"y", NumberJson(vertex.position.y)},
                        {"in", PointJson(vertex.in)},
                        {"out", PointJson(vertex.out)}});
    }
    return list;
}

Json MaskJson(const MaskDescription& mask) {
    Json json = {{"name", mask.name}, {"open", mask.open}, {"roto_bezier", mask.roto_bezier}};
    if (mask.keyframes.empty()) {
        json["vertices"] = VerticesJson(mask.vertices);
    } else {
        Json& keys = json["keyframes"] = Json::array();
        for (const MaskKeyframe& key : mask.keyframes) {
            keys.push_back({{"frame", key.frame}, {"vertices", VerticesJson(key.vertices)}});
        }
    }
    return json;
}

Json ValueJson(const ControlValue& value) {
    return std::visit(
        [](const auto& v) -> Json {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, double>) return NumberJson(v);
            else if constexpr (std::is_same_v<V, Point>) return PointJson(v);
            else return v;
        },
        value);
}

// Indices and names alike, as numbers and texts.
Json RefJson(const std::variant<int, std::string>& ref) {
    return std::visit([](const auto& v) { return Json(v); }, ref);
}

// The value, keyframes and expression of a setting, into `json`.
void WriteSettingFields(const ControlSetting& setting, Json& json) {
    if (setting.value) json["value"] = ValueJson(*setting.value);
    if (!setting.keyframes.empty()) {
        Json& keys = json["keyframes"] = Json::array();
        for (const ControlKeyframe& key : setting.keyframes) {
            keys.push_back({{"frame", key.frame}, {"value", ValueJson(key.value)}});
        }
    }
    if (setting.expression) json["expression"] = *setting.expression;
}

// A control with a value only is written as that value.
Json ControlJson(const ControlSetting& setting) {
    if (setting.keyframes.empty() && !setting.expression && !setting.ui && setting.value) {
        return ValueJson(*setting.value);
    }
    Json json = Json::object();
    WriteSettingFields(setting, json);
    if (setting.ui) {
        json["ui"] = {{"name", setting.ui->shown_name},
                      {"greyed", setting.ui->greyed},
                      {"hidden", setting.ui->hidden}};
    }
    return json;
}

Json EffectJson(const EffectDescription& effect) {
    Json json = {{"effect", effect.display_name}};
    if (!effect.instance_name.empty()) json["name"] = effect.instance_name;
    json["active"] = effect.active;
    if (!effect.controls.empty()) {
        Json& controls = json["controls"] = Json::object();
        for (const ControlSetting& setting : effect.controls) {
            const std::string key = std::visit(
                [](const auto& v) {
                    if constexpr (std::is_same_v<std::decay_t<decltype(v)>, int>) return std::to_string(v);
                    else return v;
                },
                setting.control);
            controls[key] = ControlJson(setting);
        }
    }
    return json;
}

Json LayerJson(const LayerDescription& layer) {
    Json json = {{"name", layer.name},   {"width", layer.width},       {"height", layer.height},
                 {"start", layer.start}, {"duration", layer.duration}};
    if (!layer.masks.empty()) {
        Json& masks = json["masks"] = Json::array();
        for (const MaskDescription& mask : layer.masks) masks.push_back(MaskJson(mask));
    }
    if (!layer.effects.empty()) {
        Json& effects = json["effects"] = Json::array();
        for (const EffectDescription& effect : layer.effects) effects.push_back(EffectJson(effect));
    }
    return json;
}

Json CompositionJson(const CompositionDescription& comp) {
    Json json = {{"name", comp.name}, {"width", comp.width}, {"height", comp.height}};
    json["frame_rate"] = comp.time_step == 1
                             ? Json(comp.time_scale)
                             : Json{{"time_scale", comp.time_scale}, {"time_step", comp.time_step}};
    json["duration"] = comp.duration;
    if (comp.downsample_x != comp.downsample_y) {
        json["downsample"] = Json::array({comp.downsample_x, comp.downsample_y});
    } else if (comp.downsample_x != 1) {
        json["downsample"] = comp.downsample_x;
    }
    return json;
}

Json RenderJson(const RenderStep& render) {
    if (render.all) return "all";
    if (render.first == render.last) return {{"frame", render.first}};
    return {{"from", render.first}, {"to", render.last}};
}

Json StepJson(const Step& step, bool name_layer) {
    Json json = Json::object();
    if (const auto* apply = std::get_if<ApplyStep>(&step.action)) {
        json["apply"] = EffectJson(apply->effect);
    } else if (const auto* set = std::get_if<SetStep>(&step.action)) {
        Json body = {{"effect", RefJson(set->effect)}, {"control", RefJson(set->setting.control)}};
        WriteSettingFields(set->setting, body);
        json["set"] = body;
    } else if (const auto* render = std::get_if<RenderStep>(&step.action)) {
        json["render"] = RenderJson(*render);
    } else {
        json["execute"] = RefJson(std::get<ExecuteStep>(step.action).effect);
    }
    if (name_layer) json["layer"] = step.layer;
    return json;
}

void WriteReport(const RunReport& report, Json& json) {
    Json& messages = json["messages"] = Json::array();
    for (const Message& message : report.messages) {
        messages.push_back({{"command", message.command}, {"text", message.text}, {"is_error", message.is_error}});
    }
    json["info_panel"] = report.info_panel;
    Json by_name = Json::object();
    for (const auto& [name, count] : report.host_calls.by_name) by_name[name] = count;
    json["host_calls"] = {{"total", report.host_calls.total}, {"by_name", by_name}};
    json["leaks"] = report.leaks;
}

}  // namespace

std::string WriteProject(const ProjectDescription& project) {
    Json json = {{"composition", CompositionJson(project.composition)}};
    Json& layers = json["layers"] = Json::array();
    for (const LayerDescription& layer : project.layers) layers.push_back(LayerJson(layer));
    if (!project.steps.empty()) {
        Json& steps = json["steps"] = Json::array();
        for (const Step& step : project.steps) steps.push_back(StepJson(step, project.layers.size() > 1));
    }
    if (project.report) WriteReport(*project.report, json);
    return PrettyJson(json);
}

}  // namespace knotwell::project_file
