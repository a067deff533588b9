#include "frame/param_values.h"

namespace knotwell {

PF_Err ParamValues::Fetch(AEGP_PluginID plugin_id, AEGP_EffectRefH effect, const A_Time& time,
                          bool pre_expression, std::span<const PF_ParamIndex> indices) {
    refs_.reserve(indices.size());
    values_.reserve(indices.size());
    PF_Err err = PF_Err_NONE;
    for (PF_ParamIndex index : indices) {
        refs_.emplace_back(streams_->AEGP_DisposeStream);
        if (!err) err = streams_->AEGP_GetNewEffectStreamByIndex(plugin_id, effect, index, refs_.back().out());
    }
    for (const StreamRef& ref : refs_) {
        values_.emplace_back(streams_);
        if (!err) err = values_.back().Fetch(plugin_id, ref.get(), time, pre_expression);
    }
    return err;
}

PF_Err ParamValues::Release() {
    PF_Err err = PF_Err_NONE;
    for (StreamValue& v : values_) KeepFirst(err, v.Release());
    for (StreamRef& r : refs_) KeepFirst(err, r.Release());
    return err;
}

PF_Err ReadParams(SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                  const A_Time& time, bool pre_expression, std::span<const PF_ParamIndex> indices,
                  std::span<AEGP_StreamVal2> values) {
    ParamValues params(suites.StreamSuite());
    PF_Err err = params.Fetch(plugin_id, effect, time, pre_expression, indices);
    for (std::size_t i = 0; i < indices.size() && !err; ++i) {
        values[static_cast<std::size_t>(indices[i])] = params.value(i).val;
    }
    KeepFirst(err, params.Release());
    return err;
}

}  // namespace knotwell
