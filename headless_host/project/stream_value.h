// Values a project stream holds: a 1-D number, a 2-D point or a mask
// outline, the three kinds the AEGP stream suite hands out.
#pragma once

#include <variant>
#include <vector>

#include "frame/host/aegp_suites.h"

namespace knotwell::project {

// A time in the composition's time_scale units.
using Ticks = A_long;

struct MaskOutline {
    std::vector<AEGP_MaskVertex> vertices;
    bool open = false;
};

// An open outline has one segment fewer than vertices, a closed one as many.
A_long NumSegments(const MaskOutline& outline);

using StreamValue = std::variant<double, AEGP_TwoDVal, MaskOutline>;

bool SameKind(const StreamValue& a, const StreamValue& b);

// Whether every component is a finite number: After Effects keeps no NaN or
// infinity in a stream.
bool IsFinite(const StreamValue& value);

// Same kind and every component exactly equal (outlines: the open flag and
// every vertex).
bool SameValue(const StreamValue& a, const StreamValue& b);

// The value a fraction f (0 to 1) of the way from a to b, component by
// component. Outlines with different vertex counts cannot be blended and
// hold a. Both values must be of the same kind.
StreamValue Interpolate(const StreamValue& a, const StreamValue& b, double f);

}  // namespace knotwell::project
