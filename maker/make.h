// The make: one Knotwell instance per vertex of the chosen masks and, when
// asked for, a KnotwellBaker prepared for the same masks.
#pragma once

#include "frame/action_context.h"
#include "maker/pre_render_data.h"

namespace knotwell {

// Runs the make for a layer with `mask_count` (> 0) masks. Without Knotwell
// installed nothing changes and "Make" stays on "Execute"; otherwise "Make"
// is put back first. Returns the first host failure.
PF_Err Make(const ActionContext& action, const MakerPreRenderData& d, A_long mask_count,
            PF_OutData* out_data);

}  // namespace knotwell
