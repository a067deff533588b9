#include "headless_host/cli/controls.h"

#include <cmath>
#include <cstring>
#include <sstream>

#include "headless_host/cli/run_error.h"
#include "headless_host/driving/effect_type.h"

namespace knotwell::cli {
namespace {

std::string DeclaredName(const PF_ParamDef& def) { return {def.name, strnlen(def.name, sizeof def.name)}; }

std::string Text(double number) {
    std::ostringstream text;
    text << number;
    return text.str();
}

std::string Describe(const project_file::ControlValue& value) {
    if (const double* number = std::get_if<double>(&value)) return "the number " + Text(*number);
    if (const auto* point = std::get_if<project_file::Point>(&value)) {
        return "the point [" + Text(point->x) + ", " + Text(point->y) + "]";
    }
    if (const bool* flag = std::get_if<bool>(&value)) return *flag ? "true" : "false";
    return "the text \"" + std::get<std::string>(value) + "\"";
}

[[noreturn]] void Refuse(const std::string& path, const std::string& expected,
                         const project_file::ControlValue& value) {
    throw RunError(path, "expected " + expected + ", got " + Describe(value));
}

double Ranged(const project_file::ControlValue& value, const std::string& path, double min, double max,
              bool whole) {
    const std::string expected =
        std::string(whole ? "a whole number" : "a number") + " from " + Text(min) + " to " + Text(max);
    const double* number = std::get_if<double>(&value);
    if (number == nullptr || *number < min || *number > max || (whole && std::trunc(*number) != *number)) {
        Refuse(path, expected, value);
    }
    return *number;
}

double PopupItem(const PF_ParamDef& def, const project_file::ControlValue& value, const std::string& path) {
    const std::vector<std::string> items = PopupItems(def);
    if (const auto* text = std::get_if<std::string>(&value)) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i] == *text) return static_cast<double>(i + 1);
        }
    }
    std::string expected = "an item number from 1 to " + std::to_string(items.size()) + " or one of";
    for (std::size_t i = 0; i < items.size(); ++i) expected += (i ? ", \"" : " \"") + items[i] + "\"";
    const double* number = std::get_if<double>(&value);
    if (number == nullptr || *number < 1 || *number > static_cast<double>(items.size()) ||
        std::trunc(*number) != *number) {
        Refuse(path, expected, value);
    }
    return *number;
}

}  // namespace

std::optional<PF_ParamIndex> FindControl(host::EffectInstance& instance, const AnyControlRef& ref,
                                         std::string* error) {
    const PF_ParamIndex count = instance.num_params() - 1;
    const std::string& effect = instance.type().display_name();
    if (const int* index = std::get_if<int>(&ref)) {
        if (*index >= 1 && *index <= count) return *index;
        *error = effect + " has controls 1 to " + std::to_string(count) + ", not " + std::to_string(*index);
        return std::nullopt;
    }
    const std::string& name = std::get<std::string>(ref);
    for (PF_ParamIndex index = 1; index <= count; ++index) {
        if (DeclaredName(instance.Definition(index)) == name) return index;
    }
    *error = effect + " has no control named \"" + name + "\"";
    return std::nullopt;
}

PF_ParamIndex ResolveControl(host::EffectInstance& instance, const AnyControlRef& ref,
                             const std::string& path) {
    std::string error;
    const std::optional<PF_ParamIndex> index = FindControl(instance, ref, &error);
    if (!index) throw RunError(path, error);
    return *index;
}

std::string ControlLabel(const host::EffectInstance& instance, PF_ParamIndex index) {
    const std::string name = DeclaredName(instance.Definition(index));
    return name.empty() ? std::to_string(index) : name;
}

bool CanVaryInTime(const PF_ParamDef& def) { return (def.flags & PF_ParamFlag_CANNOT_TIME_VARY) == 0; }

std::vector<std::string> PopupItems(const PF_ParamDef& def) {
    std::vector<std::string> items;
    std::istringstream names(def.u.pd.u.namesptr ? def.u.pd.u.namesptr : "");
    for (std::string item; std::getline(names, item, '|');) items.push_back(item);
    return items;
}

project::StreamValue StreamValueOf(const PF_ParamDef& def, const project_file::ControlValue& value,
                                   const std::string& path) {
    switch (def.param_type) {
        case PF_Param_SLIDER:
            return Ranged(value, path, def.u.sd.valid_min, def.u.sd.valid_max, true);
        case PF_Param_FLOAT_SLIDER:
            return Ranged(value, path, def.u.fs_d.valid_min, def.u.fs_d.valid_max, false);
        case PF_Param_ANGLE:
            if (!std::holds_alternative<double>(value)) Refuse(path, "an angle in degrees", value);
            return std::get<double>(value);
        case PF_Param_CHECKBOX:
            if (!std::holds_alternative<bool>(value)) Refuse(path, "true or false", value);
            return std::get<bool>(value) ? 1.0 : 0.0;
        case PF_Param_POPUP:
            return PopupItem(def, value, path);
        case PF_Param_POINT:
            if (const auto* point = std::get_if<project_file::Point>(&value)) return AEGP_TwoDVal{point->x, point->y};
            Refuse(path, "a point [x, y]", value);
        default:
            throw RunError(path, "this control cannot be given a value");
    }
}

project_file::ControlValue FileValueOf(const PF_ParamDef& def, const project::StreamValue& value) {
    if (const auto* point = std::get_if<AEGP_TwoDVal>(&value)) return project_file::Point{point->x, point->y};
    const double number = std::get<double>(value);
    if (def.param_type == PF_Param_CHECKBOX) return number != 0;
    if (def.param_type == PF_Param_POPUP) {
        const std::vector<std::string> items = PopupItems(def);
        if (number >= 1 && number <= static_cast<double>(items.size()) && std::trunc(number) == number) {
            return items[static_cast<std::size_t>(number) - 1];
        }
    }
    return number;
}

}  // namespace knotwell::cli
