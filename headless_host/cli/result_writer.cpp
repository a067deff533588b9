#include "headless_host/cli/result_writer.h"

#include <array>
#include <sstream>

#include "headless_host/cli/controls.h"
#include "headless_host/driving/effect_instance.h"

namespace knotwell::cli {
namespace {

namespace pf = project_file;

std::vector<pf::Vertex> Vertices(const project::MaskOutline& outline) {
    std::vector<pf::Vertex> vertices;
    for (const AEGP_MaskVertex& v : outline.vertices) {
        vertices.push_back({{v.x, v.y}, {v.tan_in_x, v.tan_in_y}, {v.tan_out_x, v.tan_out_y}});
    }
    return vertices;
}

int Frame(project::Ticks time, project::Ticks step) { return static_cast<int>(time / step); }

pf::MaskDescription DescribeMask(const project::Mask& mask, project::Ticks step) {
    const project::Stream& stream = mask.outline;
    pf::MaskDescription description;
    description.name = mask.name;
    description.open = std::get<project::MaskOutline>(stream.ValueAt(0)).open;
    description.roto_bezier = mask.roto_bezier;
    if (!stream.IsKeyframed()) description.vertices = Vertices(std::get<project::MaskOutline>(stream.ValueAt(0)));
    for (const auto& [time, value] : stream.Keys()) {
        description.keyframes.push_back({Frame(time, step), Vertices(std::get<project::MaskOutline>(value))});
    }
    return description;
}

pf::ControlSetting DescribeControl(const RunState& state, const host::EffectInstance& instance,
                                   PF_ParamIndex index) {
    const PF_ParamDef& def = instance.Definition(index);
    const project::Stream& stream = instance.Stream(index);
    const project::Ticks step = state.project.composition().time_step;
    pf::ControlSetting setting;
    const std::string label = ControlLabel(instance, index);
    setting.control = label == std::to_string(index) ? pf::ControlRef{index} : pf::ControlRef{label};
    if (!stream.IsKeyframed()) setting.value = FileValueOf(def, stream.ValueAt(0));
    for (const auto& [time, value] : stream.Keys()) {
        setting.keyframes.push_back({Frame(time, step), FileValueOf(def, value), {}});
    }
    if (const auto found = state.expressions.find(&stream); found != state.expressions.end()) {
        setting.expression = found->second;
    }
    const host::ParamUi& ui = instance.ui(index);
    setting.ui = pf::ControlUi{ui.name, (ui.ui_flags & PF_PUI_DISABLED) != 0, ui.hidden};
    return setting;
}

pf::EffectDescription DescribeEffect(const RunState& state, const project::Effect& effect) {
    pf::EffectDescription description;
    description.display_name = effect.name;
    description.instance_name = state.names.Of(effect);
    description.active = (effect.flags & AEGP_EffectFlags_ACTIVE) != 0;
    if (const host::EffectInstance* instance = state.project.InstanceOf(effect)) {
        for (PF_ParamIndex index = 1; index < instance->num_params(); ++index) {
            description.controls.push_back(DescribeControl(state, *instance, index));
        }
    }
    return description;
}

// The host's names of the commands a plug-in answers with a message.
std::string CommandName(PF_Cmd cmd) {
    static constexpr std::array<const char*, 25> kNames = {
        "PF_Cmd_ABOUT", "PF_Cmd_GLOBAL_SETUP", "PF_Cmd_UNUSED_0", "PF_Cmd_GLOBAL_SETDOWN",
        "PF_Cmd_PARAMS_SETUP", "PF_Cmd_SEQUENCE_SETUP", "PF_Cmd_SEQUENCE_RESETUP", "PF_Cmd_SEQUENCE_FLATTEN",
        "PF_Cmd_SEQUENCE_SETDOWN", "PF_Cmd_DO_DIALOG", "PF_Cmd_FRAME_SETUP", "PF_Cmd_RENDER",
        "PF_Cmd_FRAME_SETDOWN", "PF_Cmd_USER_CHANGED_PARAM", "PF_Cmd_UPDATE_PARAMS_UI", "PF_Cmd_EVENT",
        "PF_Cmd_GET_EXTERNAL_DEPENDENCIES", "PF_Cmd_COMPLETELY_GENERAL", "PF_Cmd_QUERY_DYNAMIC_FLAGS",
        "PF_Cmd_AUDIO_RENDER", "PF_Cmd_AUDIO_SETUP", "PF_Cmd_AUDIO_SETDOWN", "PF_Cmd_ARBITRARY_CALLBACK",
        "PF_Cmd_SMART_PRE_RENDER", "PF_Cmd_SMART_RENDER"};
    if (cmd >= 0 && static_cast<std::size_t>(cmd) < kNames.size()) return kNames[static_cast<std::size_t>(cmd)];
    return "command " + std::to_string(cmd);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

}  // namespace

pf::ProjectDescription DescribeProject(const RunState& state, const pf::CompositionDescription& composition) {
    pf::ProjectDescription description;
    description.composition = composition;
    const project::Ticks step = state.project.composition().time_step;
    for (const project::Layer& layer : state.project.composition().layers) {
        pf::LayerDescription& out = description.layers.emplace_back();
        out.name = layer.name;
        out.width = layer.width;
        out.height = layer.height;
        out.start = Frame(layer.start, step);
        out.duration = Frame(layer.duration, step);
        for (const project::Mask& mask : layer.masks) out.masks.push_back(DescribeMask(mask, step));
        for (const project::Effect& effect : layer.effects) out.effects.push_back(DescribeEffect(state, effect));
    }
    return description;
}

pf::RunReport DescribeRun(host::Host& host) {
    pf::RunReport report;
    for (const host::Message& message : host.messages()) {
        report.messages.push_back({CommandName(message.cmd), message.text, message.is_error});
    }
    for (const host::InfoText& text : host.info_panel()) {
        for (const std::string* line : {&text.line1, &text.line2}) {
            if (!line->empty()) report.info_panel.push_back(*line);
        }
    }
    report.host_calls.total = host.calls().total();
    for (const auto& [name, count] : host.calls().per_name()) report.host_calls.by_name[name] = count;
    report.leaks = Lines(host.LeakReport());
    return report;
}

}  // namespace knotwell::cli
