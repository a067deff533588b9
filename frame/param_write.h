// Writing an effect's own controls through its parameter streams: each
// control's current value is read (before expressions), overwritten and
// written back at the given time.
#pragma once

#include <span>

#include "frame/host/aegp_suites.h"
#include "frame/suite_handler.h"

namespace knotwell {

struct ParamWrite {
    PF_ParamIndex index;
    double x;         // the number of a one-dimensional control
    double y = 0.0;   // used only for points
    bool point = false;
};

// Gets all streams and reads all values in the order given, sets the values
// in `set_order` (control indices among `writes`; when empty, the order
// given), then gives everything back in the order given. Host calls stop at the first failure,
// whose code is returned; everything obtained is released either way.
PF_Err WriteParams(SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                   const A_Time& time, std::span<const ParamWrite> writes,
                   std::span<const PF_ParamIndex> set_order = {});

// One one-dimensional control.
PF_Err WriteParam(SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                  const A_Time& time, PF_ParamIndex index, double number);

}  // namespace knotwell
