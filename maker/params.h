// KnotwellMaker's controls by index.
#pragma once

#include "frame/host/pf_effect.h"

namespace knotwell {

// Index 0 is the input layer, which the host supplies.
enum MakerParam : PF_ParamIndex {
    kMakerIndex = 1,
    kMakerAll,
    kMakerBaker,
    kMakerMake,
    kMakerParamCount
};

}  // namespace knotwell
