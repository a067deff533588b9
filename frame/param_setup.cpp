#include "frame/param_setup.h"

namespace knotwell {
namespace {

// Every control starts from an all-zero definition, so fields a type does
// not mention stay 0.
PF_ParamDef NewParamDef(PF_InData* in_data, PF_ParamIndex index, PF_ParamType type,
                        const char* name, PF_ParamFlags flags) {
    PF_ParamDef def{};
    def.flags = flags;
    def.param_type = type;
    in_data->utils->ansi.strcpy(def.name, name);
    def.uu.id = index;
    return def;
}

PF_Err Append(PF_InData* in_data, PF_ParamDef& def) {
    return in_data->inter.add_param(in_data->effect_ref, -1, &def);
}

}  // namespace

PF_Err AddSlider(PF_InData* in_data, PF_ParamIndex index, const char* name,
                 PF_ParamFlags flags, const SliderRange& range, A_long dephault) {
    PF_ParamDef def = NewParamDef(in_data, index, PF_Param_SLIDER, name, flags);
    def.u.sd.value = dephault;
    def.u.sd.valid_min = range.valid_min;
    def.u.sd.valid_max = range.valid_max;
    def.u.sd.slider_min = range.slider_min;
    def.u.sd.slider_max = range.slider_max;
    def.u.sd.dephault = dephault;
    return Append(in_data, def);
}

PF_Err AddFloatSlider(PF_InData* in_data, PF_ParamIndex index, const char* name,
                      PF_ParamFlags flags, const FloatSliderRange& range, A_short precision,
                      PF_FpShort dephault) {
    PF_ParamDef def = NewParamDef(in_data, index, PF_Param_FLOAT_SLIDER, name, flags);
    def.u.fs_d.value = dephault;
    def.u.fs_d.valid_min = range.valid_min;
    def.u.fs_d.valid_max = range.valid_max;
    def.u.fs_d.slider_min = range.slider_min;
    def.u.fs_d.slider_max = range.slider_max;
    def.u.fs_d.dephault = dephault;
    def.u.fs_d.precision = precision;
    def.u.fs_d.curve_tolerance = 0.05f;
    return Append(in_data, def);
}

PF_Err AddPoint(PF_InData* in_data, PF_ParamIndex index, const char* name, PF_ParamFlags flags) {
    PF_ParamDef def = NewParamDef(in_data, index, PF_Param_POINT, name, flags);
    return Append(in_data, def);
}

PF_Err AddAngle(PF_InData* in_data, PF_ParamIndex index, const char* name, PF_ParamFlags flags) {
    PF_ParamDef def = NewParamDef(in_data, index, PF_Param_ANGLE, name, flags);
    return Append(in_data, def);
}

PF_Err AddCheckbox(PF_InData* in_data, PF_ParamIndex index, const char* name,
                   PF_ParamFlags flags, const char* label, PF_Boolean dephault) {
    PF_ParamDef def = NewParamDef(in_data, index, PF_Param_CHECKBOX, name, flags);
    def.u.bd.value = dephault;
    def.u.bd.dephault = dephault;
    def.u.bd.u.nameptr = label;
    return Append(in_data, def);
}

PF_Err AddPopup(PF_InData* in_data, PF_ParamIndex index, const char* name, PF_ParamFlags flags,
                const char* items, A_short num_choices, A_short dephault) {
    PF_ParamDef def = NewParamDef(in_data, index, PF_Param_POPUP, name, flags);
    def.u.pd.value = dephault;
    def.u.pd.num_choices = num_choices;
    def.u.pd.dephault = dephault;
    def.u.pd.u.namesptr = items;
    return Append(in_data, def);
}

}  // namespace knotwell
