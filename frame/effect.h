// What each effect supplies to the frame. The frame's EntryPointFunc
// dispatches the effect-specific commands to these handlers; every plug-in
// library links the frame with exactly one effect.
#pragma once

#include "frame/host/pf_smart_render.h"

namespace knotwell::effect {

// PF_Cmd_PARAMS_SETUP.
PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                   PF_LayerDef* output);

// PF_Cmd_USER_CHANGED_PARAM and PF_Cmd_UPDATE_PARAMS_UI alike.
PF_Err ParamsChanged(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                     PF_LayerDef* output, void* extra);

// PF_Cmd_SMART_PRE_RENDER.
PF_Err PreRender(PF_InData* in_data, PF_OutData* out_data, PF_PreRenderExtra* extra);

}  // namespace knotwell::effect
