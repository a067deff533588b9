// What an effect's pre-render works with once it has found its own effect:
// the command's suites, the plug-in id, the own effect, its layer and the
// current time.
#pragma once

#include "frame/aegp_refs.h"
#include "frame/host/aegp_suites.h"
#include "frame/suite_handler.h"

namespace knotwell {

struct ActionContext {
    SuiteHandler& suites;
    const PF_InData* in_data;
    AEGP_PluginID plugin_id;
    AEGP_EffectRefH self;
    AEGP_LayerH layer;
    A_Time now;  // current_time in layer time
};

// Gets the effect's own reference into `self`, then its layer and the
// layer's mask count (0 until the host has reported it). Host calls stop at
// the first failure, whose code is returned.
PF_Err FindOwnLayer(SuiteHandler& suites, const PF_InData* in_data, AEGP_PluginID plugin_id,
                    EffectRef& self, AEGP_LayerH* layer, A_long* mask_count);

// Writes one of the effect's own one-dimensional controls at the current
// time.
PF_Err WriteOwnParam(const ActionContext& action, PF_ParamIndex index, double number);

}  // namespace knotwell
