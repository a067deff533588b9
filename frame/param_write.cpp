#include "frame/param_write.h"

#include <algorithm>
#include <vector>

#include "frame/param_values.h"

namespace knotwell {
namespace {

void Overwrite(const ParamWrite& write, AEGP_StreamVal2& val) {
    if (write.point) {
        val.two_d.x = write.x;
        val.two_d.y = write.y;
    } else {
        val.one_d = write.x;
    }
}

}  // namespace

PF_Err WriteParams(SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                   const A_Time& time, std::span<const ParamWrite> writes,
                   std::span<const PF_ParamIndex> set_order) {
    const AEGP_StreamSuite* streams = suites.StreamSuite();
    std::vector<PF_ParamIndex> indices;
    indices.reserve(writes.size());
    for (const ParamWrite& w : writes) indices.push_back(w.index);

    ParamValues params(streams);
    PF_Err err = params.Fetch(plugin_id, effect, time, true, indices);
    const auto set = [&](std::size_t i) {
        Overwrite(writes[i], params.value(i).val);
        err = streams->AEGP_SetStreamValue(plugin_id, params.stream(i), &params.value(i));
    };
    if (set_order.empty()) {
        for (std::size_t i = 0; i < writes.size() && !err; ++i) set(i);
    } else {
        for (std::size_t k = 0; k < set_order.size() && !err; ++k) {
            const auto it = std::ranges::find(indices, set_order[k]);
            if (it != indices.end()) set(static_cast<std::size_t>(it - indices.begin()));
        }
    }
    KeepFirst(err, params.Release());
    return err;
}

PF_Err WriteParam(SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                  const A_Time& time, PF_ParamIndex index, double number) {
    const ParamWrite write{index, number};
    return WriteParams(suites, plugin_id, effect, time, {&write, 1});
}

}  // namespace knotwell
