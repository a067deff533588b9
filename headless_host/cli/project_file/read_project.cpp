#include "headless_host/cli/project_file/read_project.h"

#include <climits>
#include <cstdlib>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "headless_host/cli/project_file/json_path.h"
#include "headless_host/cli/project_file/json_reading.h"
#include "headless_host/cli/project_file/strict_json.h"

namespace knotwell::project_file {
namespace {

constexpr int kMaxPixels = 30000;
constexpr int kMaxFrames = 1000000;
constexpr int kMaxFps = 1000;
constexpr int kMaxDownsample = 100;
constexpr int kMaxControlIndex = 1000;
constexpr int kMaxEffectIndex = 10000;

// The host counts time in ticks of a 32-bit number.
void CheckTicks(long long frames, int time_step, const std::string& path) {
    if (frames * time_step > INT_MAX) {
        Fail(path, std::to_string(frames) + " frames of " + std::to_string(time_step) +
                       " ticks go past the host's time range");
    }
}

// The place a frame number must fall in: the layer's frames.
struct Frames {
    int duration = 0;

    int Read(const Json& json, const std::string& path) const {
        return Integer(json, path, 0, duration - 1);
    }
};

// Reads a non-empty list of keyframes with `read_one(item, item_path)`,
// refusing frames out of order.
template <typename Keyframe, typename ReadOne>
std::vector<Keyframe> ReadKeyframes(const Json& json, const std::string& path, ReadOne read_one) {
    if (Array(json, path).empty()) Fail(path, "a list of keyframes cannot be empty");
    std::vector<Keyframe> keys;
    for (std::size_t i = 0; i < json.size(); ++i) {
        keys.push_back(read_one(json[i], ItemPath(path, i)));
        if (i > 0 && keys[i].frame <= keys[i - 1].frame) {
            Fail(FieldPath(ItemPath(path, i), "frame"),
                 "keyframes go in increasing frame order; this one follows frame " +
                     std::to_string(keys[i - 1].frame));
        }
    }
    return keys;
}

// ---- composition ----

CompositionDescription ReadComposition(const Json& json) {
    const ObjectReader comp(json, "composition",
                            {"name", "width", "height", "frame_rate", "duration", "downsample"});
    CompositionDescription result;
    result.name = comp.NonEmptyString("name", "Comp 1");
    result.width = comp.Integer("width", 1, kMaxPixels);
    result.height = comp.Integer("height", 1, kMaxPixels);

    const Json& rate = comp.Get("frame_rate");
    if (rate.is_object()) {
        const ObjectReader fraction(rate, comp.PathOf("frame_rate"), {"time_scale", "time_step"});
        result.time_scale = fraction.Integer("time_scale", 1, INT_MAX);
        result.time_step = fraction.Integer("time_step", 1, INT_MAX);
    } else {
        result.time_scale = Integer(rate, comp.PathOf("frame_rate"), 1, kMaxFps);
        result.time_step = 1;
    }

    result.duration = comp.Integer("duration", 1, kMaxFrames);
    CheckTicks(result.duration, result.time_step, comp.PathOf("duration"));

    if (const Json* downsample = comp.Find("downsample")) {
        const std::string path = comp.PathOf("downsample");
        if (downsample->is_array() && downsample->size() == 2) {
            result.downsample_x = Integer((*downsample)[0], ItemPath(path, 0), 1, kMaxDownsample);
            result.downsample_y = Integer((*downsample)[1], ItemPath(path, 1), 1, kMaxDownsample);
        } else {
            result.downsample_x = result.downsample_y = Integer(*downsample, path, 1, kMaxDownsample);
        }
    }
    return result;
}

// ---- masks ----

Vertex ReadVertex(const Json& json, const std::string& path) {
    const ObjectReader vertex(json, path, {"x", "y", "in", "out"});
    Vertex result;
    result.position = {Number(vertex.Get("x"), vertex.PathOf("x")),
                       Number(vertex.Get("y"), vertex.PathOf("y"))};
    if (const Json* in = vertex.Find("in")) result.in = PointValue(*in, vertex.PathOf("in"));
    if (const Json* out = vertex.Find("out")) result.out = PointValue(*out, vertex.PathOf("out"));
    return result;
}

std::vector<Vertex> ReadVertices(const Json& json, const std::string& path) {
    std::vector<Vertex> vertices;
    for (std::size_t i = 0; i < Array(json, path).size(); ++i) {
        vertices.push_back(ReadVertex(json[i], ItemPath(path, i)));
    }
    return vertices;
}

MaskDescription ReadMask(const Json& json, const std::string& path, std::size_t index,
                         const Frames& frames) {
    const ObjectReader mask(json, path, {"name", "open", "roto_bezier", "vertices", "keyframes"});
    MaskDescription result;
    result.path.text = path;
    result.name = mask.NonEmptyString("name", "Mask " + std::to_string(index + 1));
    result.open = mask.Boolean("open", false);
    result.roto_bezier = mask.Boolean("roto_bezier", false);

    const Json* vertices = mask.Find("vertices");
    const Json* keyframes = mask.Find("keyframes");
    if (vertices != nullptr && keyframes != nullptr) {
        Fail(mask.PathOf("keyframes"), "a mask has either \"vertices\" or \"keyframes\", not both");
    }
    if (vertices != nullptr) {
        result.vertices = ReadVertices(*vertices, mask.PathOf("vertices"));
    } else if (keyframes != nullptr) {
        result.keyframes = ReadKeyframes<MaskKeyframe>(
            *keyframes, mask.PathOf("keyframes"), [&](const Json& item, const std::string& item_path) {
                const ObjectReader key(item, item_path, {"frame", "vertices"});
                return MaskKeyframe{frames.Read(key.Get("frame"), key.PathOf("frame")),
                                    ReadVertices(key.Get("vertices"), key.PathOf("vertices"))};
            });
    } else {
        Fail(path, "missing field \"vertices\" (or \"keyframes\")");
    }
    return result;
}

// ---- controls ----

// A control index is written as digits, in a key as in a value.
ControlRef ControlRefFromText(const std::string& text, const std::string& path) {
    if (text.empty()) Fail(path, "a control is named by its name or its index from 1");
    if (text.find_first_not_of("0123456789") != std::string::npos) return text;
    const long long index = text.size() > 9 ? 0 : std::stoll(text);
    if (index < 1 || index > kMaxControlIndex) {
        Fail(path, "control indices go from 1 to " + std::to_string(kMaxControlIndex));
    }
    return static_cast<int>(index);
}

ControlRef ReadControlRef(const Json& json, const std::string& path) {
    if (json.is_number()) return Integer(json, path, 1, kMaxControlIndex);
    return ControlRefFromText(String(json, path), path);
}

ControlValue ReadControlValue(const Json& json, const std::string& path) {
    if (json.is_number()) return Number(json, path);
    if (json.is_boolean()) return json.get<bool>();
    if (json.is_string()) return NonEmptyString(json, path);
    if (json.is_array()) return PointValue(json, path);
    Fail(path, "expected a number, a point [x, y], true or false, or a popup item's text");
}

ControlUi ReadControlUi(const Json& json, const std::string& path) {
    const ObjectReader ui(json, path, {"name", "greyed", "hidden"});
    const Json* name = ui.Find("name");
    return {name == nullptr ? "" : String(*name, ui.PathOf("name")), ui.Boolean("greyed", false),
            ui.Boolean("hidden", false)};
}

// The value, keyframes, expression and UI fields of a control or a "set".
void ReadSettingFields(const ObjectReader& fields, const Frames& frames, ControlSetting& setting) {
    const Json* value = fields.Find("value");
    const Json* keyframes = fields.Find("keyframes");
    const Json* expression = fields.Find("expression");
    if (value != nullptr && keyframes != nullptr) {
        Fail(fields.PathOf("keyframes"), "a control is given either a \"value\" or \"keyframes\", not both");
    }
    if (value == nullptr && keyframes == nullptr && expression == nullptr) {
        Fail(fields.path(), "give a \"value\", \"keyframes\" or an \"expression\"");
    }
    if (value != nullptr) setting.value = ReadControlValue(*value, fields.PathOf("value"));
    if (keyframes != nullptr) {
        setting.keyframes = ReadKeyframes<ControlKeyframe>(
            *keyframes, fields.PathOf("keyframes"), [&](const Json& item, const std::string& item_path) {
                const ObjectReader key(item, item_path, {"frame", "value"});
                return ControlKeyframe{frames.Read(key.Get("frame"), key.PathOf("frame")),
                                       ReadControlValue(key.Get("value"), key.PathOf("value")),
                                       {item_path}};
            });
    }
    if (expression != nullptr) setting.expression = String(*expression, fields.PathOf("expression"));
    if (const Json* ui = fields.Find("ui")) setting.ui = ReadControlUi(*ui, fields.PathOf("ui"));
}

ControlSetting ReadControl(const std::string& key, const Json& json, const std::string& path,
                           const Frames& frames) {
    ControlSetting setting;
    setting.control = ControlRefFromText(key, path);
    setting.path.text = path;
    if (json.is_object()) {
        ReadSettingFields(ObjectReader(json, path, {"value", "keyframes", "expression", "ui"}), frames,
                          setting);
    } else {
        setting.value = ReadControlValue(json, path);
    }
    return setting;
}

// ---- effects ----

// Instance names given so far, per layer: each names one instance.
using InstanceNames = std::vector<std::set<std::string, std::less<>>>;

EffectDescription ReadEffect(const Json& json, const std::string& path, const Frames& frames,
                             std::set<std::string, std::less<>>& instance_names) {
    const ObjectReader effect(json, path, {"effect", "name", "active", "controls"});
    EffectDescription result;
    result.path.text = path;
    result.display_name = effect.NonEmptyString("effect");
    result.instance_name = effect.NonEmptyString("name", "");
    if (!result.instance_name.empty() && !instance_names.insert(result.instance_name).second) {
        Fail(effect.PathOf("name"), "another effect on this layer is named \"" + result.instance_name + "\"");
    }
    result.active = effect.Boolean("active", true);
    if (const Json* controls = effect.Find("controls")) {
        const std::string path = effect.PathOf("controls");
        for (const auto& [key, value] : Object(*controls, path).items()) {
            result.controls.push_back(ReadControl(key, value, FieldPath(path, key), frames));
        }
    }
    return result;
}

EffectRef ReadEffectRef(const Json& json, const std::string& path) {
    if (json.is_number()) return Integer(json, path, 0, kMaxEffectIndex);
    if (json.is_string()) return NonEmptyString(json, path);
    Fail(path, "expected an instance name or a position on the layer from 0");
}

// ---- layers ----

LayerDescription ReadLayer(const Json& json, const std::string& path, std::size_t index,
                           const CompositionDescription& comp,
                           std::set<std::string, std::less<>>& instance_names) {
    const ObjectReader layer(json, path,
                             {"name", "width", "height", "start", "duration", "masks", "effects"});
    LayerDescription result;
    result.path.text = path;
    result.name = layer.NonEmptyString("name", "Layer " + std::to_string(index + 1));
    result.width = layer.Integer("width", 1, kMaxPixels, comp.width);
    result.height = layer.Integer("height", 1, kMaxPixels, comp.height);
    result.start = layer.Integer("start", -kMaxFrames, kMaxFrames, 0);
    result.duration = layer.Integer("duration", 1, kMaxFrames, comp.duration);
    CheckTicks(std::llabs(result.start) + result.duration, comp.time_step, path);

    const Frames frames{result.duration};
    if (const Json* masks = layer.Find("masks")) {
        const std::string masks_path = layer.PathOf("masks");
        for (std::size_t i = 0; i < Array(*masks, masks_path).size(); ++i) {
            result.masks.push_back(ReadMask((*masks)[i], ItemPath(masks_path, i), i, frames));
        }
    }
    if (const Json* effects = layer.Find("effects")) {
        const std::string effects_path = layer.PathOf("effects");
        for (std::size_t i = 0; i < Array(*effects, effects_path).size(); ++i) {
            result.effects.push_back(
                ReadEffect((*effects)[i], ItemPath(effects_path, i), frames, instance_names));
        }
    }
    return result;
}

// ---- steps ----

int ReadStepLayer(const ObjectReader& step, const std::vector<LayerDescription>& layers) {
    const Json* layer = step.Find("layer");
    if (layer == nullptr) {
        if (layers.size() != 1) {
            Fail(step.path(), "name the step's \"layer\": the project has " +
                                  std::to_string(layers.size()) + " layers");
        }
        return 0;
    }
    const std::string path = step.PathOf("layer");
    if (layer->is_number()) return Integer(*layer, path, 0, static_cast<int>(layers.size()) - 1);
    const std::string name = NonEmptyString(*layer, path);
    for (std::size_t i = 0; i < layers.size(); ++i) {
        if (layers[i].name == name) return static_cast<int>(i);
    }
    Fail(path, "no layer is named \"" + name + "\"");
}

RenderStep ReadRender(const Json& json, const std::string& path, const Frames& frames) {
    if (json.is_string() && json.get<std::string>() == "all") return {.all = true};
    if (!json.is_object()) {
        Fail(path, "expected \"all\", {\"frame\": n} or {\"from\": a, \"to\": b}");
    }
    const ObjectReader render(json, path, {"frame", "from", "to"});
    if (const Json* frame = render.Find("frame")) {
        if (render.Find("from") != nullptr || render.Find("to") != nullptr) {
            Fail(path, "give either \"frame\" or \"from\" and \"to\"");
        }
        const int first = frames.Read(*frame, render.PathOf("frame"));
        return {.first = first, .last = first};
    }
    const int first = frames.Read(render.Get("from"), render.PathOf("from"));
    const int last = frames.Read(render.Get("to"), render.PathOf("to"));
    if (last < first) Fail(render.PathOf("to"), "comes before \"from\"");
    return {.first = first, .last = last};
}

SetStep ReadSet(const Json& json, const std::string& path, const Frames& frames) {
    const ObjectReader set(json, path, {"effect", "control", "value", "keyframes", "expression"});
    SetStep result;
    result.effect = ReadEffectRef(set.Get("effect"), set.PathOf("effect"));
    result.setting.control = ReadControlRef(set.Get("control"), set.PathOf("control"));
    result.setting.path.text = path;
    ReadSettingFields(set, frames, result.setting);
    return result;
}

Step ReadStep(const Json& json, const std::string& path, const std::vector<LayerDescription>& layers,
              InstanceNames& instance_names) {
    const ObjectReader step(json, path, {"apply", "set", "render", "execute", "layer"});
    Step result;
    result.path.text = path;
    result.layer = ReadStepLayer(step, layers);
    const Frames frames{layers[result.layer].duration};

    std::optional<std::string> action;
    for (const char* name : {"apply", "set", "render", "execute"}) {
        if (step.Find(name) == nullptr) continue;
        if (action) Fail(path, "a step does one thing, not both \"" + *action + "\" and \"" + name + "\"");
        action = name;
    }
    if (!action) Fail(path, "a step needs one of \"apply\", \"set\", \"render\" or \"execute\"");

    const Json& body = step.Get(*action);
    const std::string body_path = step.PathOf(*action);
    if (*action == "apply") {
        result.action = ApplyStep{ReadEffect(body, body_path, frames, instance_names[result.layer])};
    } else if (*action == "set") {
        result.action = ReadSet(body, body_path, frames);
    } else if (*action == "render") {
        result.action = ReadRender(body, body_path, frames);
    } else {
        result.action = ExecuteStep{ReadEffectRef(body, body_path)};
    }
    return result;
}

// ---- what a run showed ----

std::vector<std::string> ReadStrings(const Json& json, const std::string& path) {
    std::vector<std::string> strings;
    for (std::size_t i = 0; i < Array(json, path).size(); ++i) {
        strings.push_back(String(json[i], ItemPath(path, i)));
    }
    return strings;
}

RunReport ReadReport(const ObjectReader& top) {
    RunReport report;
    if (const Json* messages = top.Find("messages")) {
        const std::string path = top.PathOf("messages");
        for (std::size_t i = 0; i < Array(*messages, path).size(); ++i) {
            const ObjectReader message((*messages)[i], ItemPath(path, i), {"command", "text", "is_error"});
            report.messages.push_back({message.NonEmptyString("command"),
                                       String(message.Get("text"), message.PathOf("text")),
                                       message.Boolean("is_error", false)});
        }
    }
    if (const Json* info = top.Find("info_panel")) {
        report.info_panel = ReadStrings(*info, top.PathOf("info_panel"));
    }
    if (const Json* calls = top.Find("host_calls")) {
        const ObjectReader host_calls(*calls, top.PathOf("host_calls"), {"total", "by_name"});
        report.host_calls.total = host_calls.Integer("total", 0, INT_MAX);
        if (const Json* by_name = host_calls.Find("by_name")) {
            const std::string path = host_calls.PathOf("by_name");
            for (const auto& [name, count] : Object(*by_name, path).items()) {
                report.host_calls.by_name[name] = Integer(count, FieldPath(path, name), 0, INT_MAX);
            }
        }
    }
    if (const Json* leaks = top.Find("leaks")) report.leaks = ReadStrings(*leaks, top.PathOf("leaks"));
    return report;
}

ProjectDescription ReadDescription(const Json& json) {
    const ObjectReader top(json, "",
                           {"composition", "layers", "steps", "messages", "info_panel", "host_calls", "leaks"});
    ProjectDescription project;
    project.composition = ReadComposition(top.Get("composition"));

    const Json& layers = top.Get("layers");
    if (Array(layers, "layers").empty()) Fail("layers", "a project needs at least one layer");
    InstanceNames instance_names(layers.size());
    for (std::size_t i = 0; i < layers.size(); ++i) {
        const std::string path = ItemPath("layers", i);
        project.layers.push_back(ReadLayer(layers[i], path, i, project.composition, instance_names[i]));
        for (std::size_t j = 0; j < i; ++j) {
            if (project.layers[j].name == project.layers[i].name) {
                Fail(FieldPath(path, "name"), "another layer is named \"" + project.layers[i].name + "\"");
            }
        }
    }

    if (const Json* steps = top.Find("steps")) {
        for (std::size_t i = 0; i < Array(*steps, "steps").size(); ++i) {
            project.steps.push_back(ReadStep((*steps)[i], ItemPath("steps", i), project.layers, instance_names));
        }
    }

    bool has_report = false;
    for (const char* section : {"messages", "info_panel", "host_calls", "leaks"}) {
        has_report = has_report || top.Find(section) != nullptr;
    }
    if (has_report) project.report = ReadReport(top);
    return project;
}

}  // namespace

Result<ProjectDescription, FileError> ReadProject(std::string_view json_text) {
    auto json = ParseStrictJson(json_text);
    if (!json.ok()) return json.error();
    try {
        return ReadDescription(json.value());
    } catch (const ReadError& error) {
        return error.error;
    }
}

}  // namespace knotwell::project_file
