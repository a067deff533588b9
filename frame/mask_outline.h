// The vertex count of a mask outline.
#pragma once

#include "frame/host/aegp_suites.h"

namespace knotwell {

// An open outline has one vertex more than segments, a closed one as many.
// *count stays untouched when a host call fails; its code is returned.
PF_Err CountOutlineVertices(const AEGP_MaskOutlineSuite3* outlines, AEGP_MaskOutlineValH outline,
                            A_long* count);

}  // namespace knotwell
