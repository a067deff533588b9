// The effect instances a make applies to its layer, each set up through its
// parameter streams.
#pragma once

#include "frame/action_context.h"
#include "maker/pre_render_data.h"

namespace knotwell {

// Applies one Knotwell instance that reproduces vertex `vertex_number` of
// mask `mask_index` (read from `outline`) and drives it.
PF_Err ApplyVertexInstance(const ActionContext& action, AEGP_InstalledEffectKey knotwell,
                           A_long mask_index, A_long vertex_number, AEGP_MaskOutlineValH outline);

// Applies one KnotwellBaker instance prepared for the masks the make chose,
// not started.
PF_Err ApplyBakerInstance(const ActionContext& action, AEGP_InstalledEffectKey baker,
                          const MakerPreRenderData& d);

}  // namespace knotwell
