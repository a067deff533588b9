#include "headless_host/cli/control_setting.h"

#include "headless_host/cli/controls.h"
#include "headless_host/cli/expression_binding.h"
#include "headless_host/cli/project_file/json_path.h"
#include "headless_host/cli/run_error.h"

namespace knotwell::cli {
namespace {

void SetValue(RunState& state, host::EffectInstance& instance, PF_ParamIndex index,
              const project::StreamValue& value, Change change) {
    if (change == Change::kQuiet) {
        state.project.SetValue(instance.Target(index), state.project.LayerTimeNow(instance.layer()), value);
    } else if (const auto* point = std::get_if<AEGP_TwoDVal>(&value)) {
        instance.SetControl(index, point->x, point->y);
    } else {
        instance.SetControl(index, std::get<double>(value));
    }
}

}  // namespace

void ApplySetting(RunState& state, host::EffectInstance& instance, const project_file::ControlSetting& setting,
                  const SettingPaths& paths, Change change) {
    const PF_ParamIndex index = ResolveControl(instance, setting.control, paths.control);
    const PF_ParamDef& def = instance.Definition(index);
    if (setting.value) SetValue(state, instance, index, StreamValueOf(def, *setting.value, paths.value), change);

    if (!setting.keyframes.empty() && !CanVaryInTime(def)) {
        throw RunError(project_file::FieldPath(setting.path.text, "keyframes"),
                       "\"" + ControlLabel(instance, index) + "\" holds one value for the whole layer and cannot have keyframes");
    }
    const project::Ticks step = state.project.composition().time_step;
    for (const project_file::ControlKeyframe& key : setting.keyframes) {
        instance.SetKeyframe(index, key.frame * step,
                             StreamValueOf(def, key.value, project_file::FieldPath(key.path.text, "value")));
    }
    if (setting.expression) BindExpression(state, instance, index, *setting.expression);

    if (change == Change::kAsUser && (!setting.keyframes.empty() || setting.expression)) {
        instance.UserChangedParam();
        instance.UpdateParamsUi();
    }
}

}  // namespace knotwell::cli
