// The driver table of one baked mask: which Knotwell instance on the layer
// drives each of its vertices, and the reference and the streams the
// sampling reads it by.
#pragma once

#include <vector>

#include "frame/action_context.h"
#include "frame/param_values.h"

namespace knotwell {

struct Driver {
    Driver(EffectRef::Dispose dispose, const AEGP_StreamSuite* streams) : ref(dispose), geometry(streams) {}

    AEGP_EffectIndex effect_index = -1;  // in the layer's effect list; -1: not driven
    EffectRef ref;                       // obtained for the sampling
    // The streams of "Point" to "Symmetric", held for the whole sampling:
    // each sample only reads their values. Declared after `ref`, so they
    // are given back before the effect.
    ParamValues geometry;
};

using DriverTable = std::vector<Driver>;

// One undriven entry per vertex. Throws std::bad_alloc when there is no
// memory for it.
DriverTable MakeDriverTable(const ActionContext& action, A_long vertex_count);

// Scans the layer's active effects for Knotwell instances that drive a
// vertex of mask `mask_index`, going by their raw "Index", "No" and "ON" at
// the current time; the latest in the effect list wins a vertex. *found
// tells whether any vertex is driven.
PF_Err FindDrivers(const ActionContext& action, AEGP_InstalledEffectKey knotwell,
                   A_long mask_index, DriverTable& drivers, bool* found);

// Obtains a reference to every driving instance, then the streams of its
// geometry controls.
PF_Err ReferToDrivers(const ActionContext& action, DriverTable& drivers);

// Takes the running code: each driver's streams are given back, then,
// while the code is 0, the driver is switched off (active flag cleared).
// Every stream and reference is given back whatever the code; the updated
// code is returned.
PF_Err SwitchOffDrivers(const ActionContext& action, DriverTable& drivers, PF_Err err);

}  // namespace knotwell
