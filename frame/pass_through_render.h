// The render of every plug-in: none of them changes pixels, so the input
// layer is copied to the output unchanged, at any of the three depths.
#pragma once

#include "frame/host/pf_smart_render.h"

namespace knotwell {

PF_Err PassThroughRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra);

}  // namespace knotwell
