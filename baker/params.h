// KnotwellBaker's controls by index. The maker prepares baker instances
// through these indices.
#pragma once

#include "frame/host/pf_effect.h"

namespace knotwell {

// Index 0 is the input layer, which the host supplies.
enum BakerParam : PF_ParamIndex {
    kBakerIndex = 1,
    kBakerAll,
    kBakerBake,
    kBakerParamCount
};

}  // namespace knotwell
