#include "frame/param_write.h"

#include <vector>

#include "frame/aegp_refs.h"

namespace knotwell {

PF_Err WriteParams(SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                   const A_Time& time, std::span<const ParamWrite> writes) {
    const AEGP_StreamSuite* streams = suites.StreamSuite();
    std::vector<StreamRef> refs;
    std::vector<StreamValue> values;
    refs.reserve(writes.size());
    values.reserve(writes.size());
    PF_Err err = PF_Err_NONE;
    for (const ParamWrite& w : writes) {
        refs.emplace_back(streams->AEGP_DisposeStream);
        if (!err) err = streams->AEGP_GetNewEffectStreamByIndex(plugin_id, effect, w.index, refs.back().out());
    }
    for (std::size_t i = 0; i < writes.size(); ++i) {
        values.emplace_back(streams);
        if (!err) err = values.back().Fetch(plugin_id, refs[i].get(), time, true);
    }
    for (std::size_t i = 0; i < writes.size() && !err; ++i) {
        AEGP_StreamVal2& val = values[i].value().val;
        if (writes[i].point) {
            val.two_d.x = writes[i].x;
            val.two_d.y = writes[i].y;
        } else {
            val.one_d = writes[i].x;
        }
        err = streams->AEGP_SetStreamValue(plugin_id, refs[i].get(), &values[i].value());
    }
    for (StreamValue& v : values) KeepFirst(err, v.Release());
    for (StreamRef& r : refs) KeepFirst(err, r.Release());
    return err;
}

}  // namespace knotwell
