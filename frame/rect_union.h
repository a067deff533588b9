// The union with which every pre-render grows its output rectangles by its
// input's.
#pragma once

#include "frame/host/ae_types.h"

namespace knotwell {

// An empty destination takes the source as it is; a non-empty one grows to
// the bounding rectangle of both when the source is not empty.
void UnionRect(const PF_LRect& src, PF_LRect& dst);

}  // namespace knotwell
