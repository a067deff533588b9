// The bake: mask-path keyframes from the active Knotwell instances of the
// chosen masks, which are switched off afterwards.
#pragma once

#include "baker/pre_render_data.h"
#include "frame/action_context.h"

namespace knotwell {

// Runs the bake for a layer with `mask_count` (> 0) masks. A layer without
// frames or without Knotwell installed is left unchanged with a notice and
// "Bake" on "Execute"; otherwise each baked mask first puts "Bake" back.
// Returns the first host failure.
PF_Err Bake(const ActionContext& action, const BakerPreRenderData& d, A_long mask_count,
            PF_OutData* out_data);

}  // namespace knotwell
