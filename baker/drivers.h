// The driver table of one baked mask: which Knotwell instance on the layer
// drives each of its vertices, and the reference the sampling reads it by.
#pragma once

#include <vector>

#include "frame/action_context.h"

namespace knotwell {

struct Driver {
    explicit Driver(EffectRef::Dispose dispose) : ref(dispose) {}

    AEGP_EffectIndex effect_index = -1;  // in the layer's effect list; -1: not driven
    EffectRef ref;                       // obtained for the sampling
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

// Obtains a reference to every driving instance.
PF_Err ReferToDrivers(const ActionContext& action, DriverTable& drivers);

// Takes the running code: while it is 0 each referenced driver is switched
// off (active flag cleared). Every reference is given back whatever the
// code; the updated code is returned.
PF_Err SwitchOffDrivers(const ActionContext& action, DriverTable& drivers, PF_Err err);

}  // namespace knotwell
