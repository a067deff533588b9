// The commands every plug-in answers the same way: About, global setup and
// setdown, sequence setup, resetup and setdown, and (older host interface
// only) the general command.
#pragma once

#include "frame/host/pf_effect.h"

namespace knotwell {

// Packed version word: 1.0.0, release stage, build 1.
inline constexpr A_u_long kVersionWord = PF_VERSION(1, 0, 0, PF_Stage_RELEASE, 1);
inline constexpr PF_OutFlags kGlobalOutFlags =
    PF_OutFlag_DEEP_COLOR_AWARE | PF_OutFlag_SEND_UPDATE_PARAMS_UI;
inline constexpr PF_OutFlags2 kGlobalOutFlags2 =
    PF_OutFlag2_SUPPORTS_SMART_RENDER | PF_OutFlag2_FLOAT_COLOR_AWARE;

PF_Err About(PF_InData* in_data, PF_OutData* out_data);
PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data);
PF_Err GlobalSetdown(PF_InData* in_data);
PF_Err SequenceSetup(PF_InData* in_data, PF_OutData* out_data);
PF_Err SequenceSetdown(PF_InData* in_data, PF_OutData* out_data);
PF_Err CompletelyGeneral(PF_InData* in_data, PF_OutData* out_data, const char* text);

}  // namespace knotwell
