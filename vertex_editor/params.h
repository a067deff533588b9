// Knotwell's controls by index. The maker and the baker read and write
// Knotwell instances through these indices, so their order is fixed.
#pragma once

#include "frame/host/pf_effect.h"

namespace knotwell {

// Index 0 is the input layer, which the host supplies.
enum KnotwellParam : PF_ParamIndex {
    kKnotwellIndex = 1,
    kKnotwellNo,
    kKnotwellPoint,
    kKnotwellCoordinate,
    kKnotwellTanIn,
    kKnotwellTanOut,
    kKnotwellTanInRadius,
    kKnotwellTanInAngle,
    kKnotwellTanOutRadius,
    kKnotwellTanOutAngle,
    kKnotwellSymmetric,
    kKnotwellOn,
    kKnotwellParamCount
};

// Items of "Coordinate".
enum KnotwellCoordinate : A_long { kKnotwellCartesian = 1, kKnotwellPolar = 2 };

}  // namespace knotwell
