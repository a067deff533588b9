#include "headless_host/evaluation/dump.h"

#include "headless_host/driving/effect_instance.h"
#include "headless_host/project/dump.h"

namespace knotwell::host {

namespace {

// " shown \"X\" greyed hidden" for what differs from a plain control.
std::string UiState(const project::EffectParam& param, const ParamUi& ui) {
    std::string out;
    if (ui.name != param.name) out += " shown \"" + ui.name + "\"";
    if (ui.ui_flags & PF_PUI_DISABLED) out += " greyed";
    if (ui.hidden) out += " hidden";
    return out;
}

std::string DumpEffect(const Project& project, const project::Effect& effect, std::size_t index,
                       project::Ticks time) {
    const EffectInstance* instance = project.InstanceOf(effect);
    std::string out = "  effect " + std::to_string(index) + " \"" + effect.name + "\"";
    out += (effect.flags & AEGP_EffectFlags_ACTIVE) ? "" : " off";
    out += instance ? "\n" : " (set down)\n";
    for (std::size_t p = 0; p < effect.params.size(); ++p) {
        const project::EffectParam& param = effect.params[p];
        out += "    " + std::to_string(p + 1) + " \"" + param.name + "\"";
        if (instance) out += UiState(param, instance->ui(static_cast<PF_ParamIndex>(p + 1)));
        out += ": " + project::DumpStream(param.stream, time, "      ");
    }
    return out;
}

}  // namespace

std::string DumpLayerState(const Project& project, const project::Layer& layer, project::Ticks time,
                           const DumpOptions& options) {
    std::string out = "layer \"" + layer.name + "\" at " + std::to_string(time) + '\n';
    out += project::DumpMasks(layer, time, "  ");
    for (std::size_t i = 0; i < layer.effects.size(); ++i) out += DumpEffect(project, layer.effects[i], i, time);
    const project::Ticks step = project.composition().time_step;
    if (options.mask_frames && step > 0) {
        for (project::Ticks frame = 0; frame < layer.duration; frame += step) {
            out += "  frame " + std::to_string(frame) + '\n' + project::DumpMasks(layer, frame, "    ");
        }
    }
    return out;
}

std::string DumpProjectState(const Project& project, const DumpOptions& options) {
    std::string out;
    for (const project::Layer& layer : project.composition().layers) {
        out += DumpLayerState(project, layer, project.LayerTimeNow(layer), options);
    }
    return out;
}

}  // namespace knotwell::host
