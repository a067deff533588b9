// The controls of an effect instance as project files and expressions name
// them (by name or by index from 1) and as files write their values:
// numbers, points [x, y], check boxes true/false, popup items by text.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "headless_host/cli/project_file/description.h"
#include "headless_host/driving/effect_instance.h"

namespace knotwell::cli {

using AnyControlRef = std::variant<int, std::string>;

// The index of the control `ref` names, or none with the reason in *error.
std::optional<PF_ParamIndex> FindControl(host::EffectInstance& instance, const AnyControlRef& ref,
                                         std::string* error);
// The same, with RunError at `path` when there is none.
PF_ParamIndex ResolveControl(host::EffectInstance& instance, const AnyControlRef& ref,
                             const std::string& path);

// The control's name, or its index as digits when it has none (the "ON"
// box of Knotwell): how results and messages name it.
std::string ControlLabel(const host::EffectInstance& instance, PF_ParamIndex index);

bool CanVaryInTime(const PF_ParamDef& def);

// The items of a popup, first item first.
std::vector<std::string> PopupItems(const PF_ParamDef& def);

// A file's value as the control's stream holds it; RunError at `path` when
// its shape or range does not fit the control.
project::StreamValue StreamValueOf(const PF_ParamDef& def, const project_file::ControlValue& value,
                                   const std::string& path);
// A stream's value as a file writes it.
project_file::ControlValue FileValueOf(const PF_ParamDef& def, const project::StreamValue& value);

}  // namespace knotwell::cli
