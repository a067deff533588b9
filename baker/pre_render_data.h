// The baker's controls as one pre-render reads them.
#pragma once

#include "frame/host/ae_types.h"

namespace knotwell {

struct BakerPreRenderData {
    double downsample_x;
    double downsample_y;
    A_long index;
    A_long all;
    A_long bake;
};

}  // namespace knotwell
