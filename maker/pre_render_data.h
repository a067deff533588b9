// The maker's controls as one pre-render reads them.
#pragma once

#include "frame/host/ae_types.h"

namespace knotwell {

struct MakerPreRenderData {
    double downsample_x;
    double downsample_y;
    A_long index;  // lowered to the last mask by the pre-render's clamp
    A_long all;
    A_long baker;
    A_long make;
};

}  // namespace knotwell
