#include "headless_host/cli/project_builder.h"

#include <map>
#include <stdexcept>

#include "headless_host/cli/control_setting.h"
#include "headless_host/cli/project_file/json_path.h"
#include "headless_host/cli/run_error.h"
#include "headless_host/driving/effect_type.h"

namespace knotwell::cli {
namespace {

project::MaskOutline Outline(const std::vector<project_file::Vertex>& vertices, bool open) {
    project::MaskOutline outline{{}, open};
    for (const project_file::Vertex& v : vertices) {
        outline.vertices.push_back({v.position.x, v.position.y, v.in.x, v.in.y, v.out.x, v.out.y});
    }
    return outline;
}

void AddMask(RunState& state, project::Layer& layer, const project_file::MaskDescription& description) {
    project::Mask* mask = nullptr;
    if (description.keyframes.empty()) {
        mask = &state.project.AddMask(layer, Outline(description.vertices, description.open), description.roto_bezier);
    } else {
        const project::Ticks step = state.project.composition().time_step;
        std::map<project::Ticks, project::MaskOutline> keys;
        for (const project_file::MaskKeyframe& key : description.keyframes) {
            keys[key.frame * step] = Outline(key.vertices, description.open);
        }
        mask = &state.project.AddMask(layer, keys, description.roto_bezier);
    }
    mask->name = description.name;
}

std::string InstalledNames(const host::Host& host) {
    std::string names;
    for (AEGP_InstalledEffectKey key = 1; key <= host.NumInstalledEffects(); ++key) {
        names += (names.empty() ? "" : ", ") + host.TypeOfKey(key)->display_name();
    }
    return names.empty() ? "none" : names;
}

}  // namespace

host::EffectInstance& AddEffect(RunState& state, project::Layer& layer,
                                const project_file::EffectDescription& description) {
    const std::string& path = description.path.text;
    if (state.host.TypeNamed(description.display_name) == nullptr) {
        throw RunError(project_file::FieldPath(path, "effect"), "no installed effect is named \"" +
                                                                    description.display_name +
                                                                    "\"; installed: " + InstalledNames(state.host));
    }
    host::EffectInstance& instance = state.project.ApplyEffect(layer, description.display_name);
    state.names.Name(layer, instance.effect(), description.instance_name);
    if (!description.active) instance.effect().flags &= ~AEGP_EffectFlags_ACTIVE;
    for (const project_file::ControlSetting& setting : description.controls) {
        ApplySetting(state, instance, setting, {setting.path.text, setting.path.text}, Change::kQuiet);
    }
    instance.UpdateParamsUi();
    return instance;
}

void BuildProject(RunState& state, const project_file::ProjectDescription& description) {
    const project_file::CompositionDescription& comp_description = description.composition;
    project::Composition& comp = state.project.composition();
    comp.name = comp_description.name;
    comp.width = comp_description.width;
    comp.height = comp_description.height;
    comp.time_scale = static_cast<A_u_long>(comp_description.time_scale);
    comp.time_step = comp_description.time_step;
    comp.duration = comp_description.duration * comp.time_step;
    comp.downsample_x = {1, static_cast<A_u_long>(comp_description.downsample_x)};
    comp.downsample_y = {1, static_cast<A_u_long>(comp_description.downsample_y)};

    for (const project_file::LayerDescription& layer_description : description.layers) {
        project::Layer& layer = state.project.AddLayer({.name = layer_description.name,
                                                        .width = layer_description.width,
                                                        .height = layer_description.height,
                                                        .start = layer_description.start * comp.time_step,
                                                        .duration = layer_description.duration * comp.time_step});
        for (const project_file::MaskDescription& mask : layer_description.masks) AddMask(state, layer, mask);
        for (const project_file::EffectDescription& effect : layer_description.effects) {
            AddEffect(state, layer, effect);
        }
    }
}

}  // namespace knotwell::cli
