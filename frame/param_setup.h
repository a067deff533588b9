// Declaring an effect's controls at PF_Cmd_PARAMS_SETUP. Each function
// clears a definition, fills it for one control, sets the disk id to the
// index and appends it with add_param; it returns the host's result.
#pragma once

#include "frame/host/pf_effect.h"

namespace knotwell {

// Controls that may be keyframed, and controls that hold one value for the
// whole layer.
inline constexpr PF_ParamFlags kAnimatedParamFlags = PF_ParamFlag_START_COLLAPSED;
inline constexpr PF_ParamFlags kStaticParamFlags =
    PF_ParamFlag_START_COLLAPSED | PF_ParamFlag_CANNOT_TIME_VARY;

// The two-item popup the maker and the baker use as a one-shot button.
inline constexpr const char* kActionPopupItems = "----------|Execute";
enum ActionPopupItem : A_long { kActionIdle = 1, kActionExecute = 2 };

struct SliderRange {
    A_long valid_min;
    A_long valid_max;
    A_long slider_min;
    A_long slider_max;
};

struct FloatSliderRange {
    PF_FpShort valid_min;
    PF_FpShort valid_max;
    PF_FpShort slider_min;
    PF_FpShort slider_max;
};

// Integer slider with empty value text and description.
PF_Err AddSlider(PF_InData* in_data, PF_ParamIndex index, const char* name,
                 PF_ParamFlags flags, const SliderRange& range, A_long dephault);

// Float slider without phase or display flags.
PF_Err AddFloatSlider(PF_InData* in_data, PF_ParamIndex index, const char* name,
                      PF_ParamFlags flags, const FloatSliderRange& range, A_short precision,
                      PF_FpShort dephault);

// Unrestricted point, defaulting to the layer's top-left corner.
PF_Err AddPoint(PF_InData* in_data, PF_ParamIndex index, const char* name, PF_ParamFlags flags);

// Angle defaulting to 0 degrees.
PF_Err AddAngle(PF_InData* in_data, PF_ParamIndex index, const char* name, PF_ParamFlags flags);

// `label` and `items` must outlive the effect: the host keeps the pointers.
PF_Err AddCheckbox(PF_InData* in_data, PF_ParamIndex index, const char* name,
                   PF_ParamFlags flags, const char* label, PF_Boolean dephault);
PF_Err AddPopup(PF_InData* in_data, PF_ParamIndex index, const char* name, PF_ParamFlags flags,
                const char* items, A_short num_choices, A_short dephault);

}  // namespace knotwell
