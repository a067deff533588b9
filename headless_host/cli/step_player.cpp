#include "headless_host/cli/step_player.h"

#include <algorithm>
#include <optional>
#include <string>

#include "headless_host/cli/control_setting.h"
#include "headless_host/cli/controls.h"
#include "headless_host/cli/project_builder.h"
#include "headless_host/cli/project_file/json_path.h"
#include "headless_host/cli/run_error.h"
#include "headless_host/driving/effect_type.h"

namespace knotwell::cli {
namespace {

using project_file::FieldPath;

constexpr std::string_view kBaker = "Knotwell Baker";
constexpr std::string_view kExecute = "Execute";

// One frame, rendered until it settles, then its shapes captured.
void RenderFrame(RunState& state, project::Layer& layer, int frame) {
    const host::RenderResult result =
        state.project.RenderFrame(layer, frame * state.project.composition().time_step);
    ++state.frames_rendered;
    if (!result.settled) ++state.unsettled_frames;
    state.captures.Capture(state.project, layer, frame);
}

void Render(RunState& state, project::Layer& layer, const project_file::RenderStep& render) {
    const int first = render.all ? 0 : render.first;
    const int last = render.all ? layer.duration / state.project.composition().time_step - 1 : render.last;
    if (first == last) return RenderFrame(state, layer, first);
    state.progress.Start("rendering frames " + std::to_string(first) + " to " + std::to_string(last),
                         last - first + 1);
    for (int frame = first; frame <= last; ++frame) {
        RenderFrame(state, layer, frame);
        state.progress.Advance();
    }
    state.progress.Finish();
}

struct OneShot {
    PF_ParamIndex index;
    double execute_item;
};

// The popup used as a push button: the one with an "Execute" item.
std::optional<OneShot> FindOneShot(const host::EffectInstance& instance) {
    for (PF_ParamIndex index = 1; index < instance.num_params(); ++index) {
        const PF_ParamDef& def = instance.Definition(index);
        if (def.param_type != PF_Param_POPUP) continue;
        const std::vector<std::string> items = PopupItems(def);
        const auto found = std::find(items.begin(), items.end(), kExecute);
        if (found != items.end()) return OneShot{index, static_cast<double>(found - items.begin() + 1)};
    }
    return std::nullopt;
}

// The user picks "Execute"; the effect acts on it at its next render,
// which the host makes at once, as after any change.
void Execute(RunState& state, project::Layer& layer, const project_file::ExecuteStep& execute,
             const std::string& path) {
    host::EffectInstance& instance = FindInstance(state.project, layer, state.names, execute.effect, path);
    const std::optional<OneShot> one_shot = FindOneShot(instance);
    if (!one_shot) {
        throw RunError(path, "\"" + state.names.Of(instance.effect()) + "\" has no control with an \"Execute\" item");
    }
    const bool bake = instance.type().display_name() == kBaker;
    state.progress.Start(bake ? "baking" : "executing", 1);
    instance.SetControl(one_shot->index, one_shot->execute_item);
    // The live shapes end where the bake begins.
    if (bake) state.captures.MarkBaked(layer);
    const project::Ticks step = state.project.composition().time_step;
    const int frames = layer.duration / step;
    RenderFrame(state, layer, std::clamp(state.project.LayerTimeNow(layer) / step, 0, frames - 1));
    state.progress.Advance();
    state.progress.Finish();
}

void Play(RunState& state, const project_file::Step& step) {
    project::Layer& layer = state.project.composition().layers.at(static_cast<std::size_t>(step.layer));
    const std::string& path = step.path.text;
    if (const auto* apply = std::get_if<project_file::ApplyStep>(&step.action)) {
        AddEffect(state, layer, apply->effect);
    } else if (const auto* set = std::get_if<project_file::SetStep>(&step.action)) {
        const std::string set_path = FieldPath(path, "set");
        host::EffectInstance& instance =
            FindInstance(state.project, layer, state.names, set->effect, FieldPath(set_path, "effect"));
        ApplySetting(state, instance, set->setting, {FieldPath(set_path, "control"), FieldPath(set_path, "value")},
                     Change::kAsUser);
    } else if (const auto* render = std::get_if<project_file::RenderStep>(&step.action)) {
        Render(state, layer, *render);
    } else {
        Execute(state, layer, std::get<project_file::ExecuteStep>(step.action), FieldPath(path, "execute"));
    }
}

}  // namespace

void PlaySteps(RunState& state, const std::vector<project_file::Step>& steps) {
    for (const project_file::Step& step : steps) {
        const std::size_t errors_before = state.host.expression_errors().size();
        Play(state, step);
        state.names.NameNew(state.project.composition().layers.at(static_cast<std::size_t>(step.layer)));
        if (state.host.expression_errors().size() > errors_before) {
            throw RunError(step.path.text, state.host.expression_errors()[errors_before]);
        }
    }
}

}  // namespace knotwell::cli
