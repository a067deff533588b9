#include "frame/param_values.h"

namespace knotwell {

PF_Err ParamValues::GetStreams(AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                               std::span<const PF_ParamIndex> indices) {
    indices_.assign(indices.begin(), indices.end());
    refs_.reserve(indices.size());
    PF_Err err = PF_Err_NONE;
    for (PF_ParamIndex index : indices) {
        refs_.emplace_back(streams_->AEGP_DisposeStream);
        if (!err) err = streams_->AEGP_GetNewEffectStreamByIndex(plugin_id, effect, index, refs_.back().out());
    }
    return err;
}

PF_Err ParamValues::GetValues(AEGP_PluginID plugin_id, const A_Time& time, bool pre_expression) {
    values_.reserve(refs_.size());
    PF_Err err = PF_Err_NONE;
    for (const StreamRef& ref : refs_) {
        values_.emplace_back(streams_);
        if (!err) err = values_.back().Fetch(plugin_id, ref.get(), time, pre_expression);
    }
    return err;
}

PF_Err ParamValues::Fetch(AEGP_PluginID plugin_id, AEGP_EffectRefH effect, const A_Time& time,
                          bool pre_expression, std::span<const PF_ParamIndex> indices) {
    PF_Err err = GetStreams(plugin_id, effect, indices);
    if (!err) err = GetValues(plugin_id, time, pre_expression);
    return err;
}

PF_Err ParamValues::ReadValues(AEGP_PluginID plugin_id, const A_Time& time, bool pre_expression,
                               std::span<AEGP_StreamVal2> values) {
    PF_Err err = GetValues(plugin_id, time, pre_expression);
    for (std::size_t i = 0; i < indices_.size() && !err; ++i) {
        values[static_cast<std::size_t>(indices_[i])] = values_[i].value().val;
    }
    KeepFirst(err, ReleaseValues());
    return err;
}

PF_Err ParamValues::ReleaseValues() {
    PF_Err err = PF_Err_NONE;
    for (StreamValue& v : values_) KeepFirst(err, v.Release());
    values_.clear();
    return err;
}

PF_Err ParamValues::Release() {
    PF_Err err = ReleaseValues();
    for (StreamRef& r : refs_) KeepFirst(err, r.Release());
    return err;
}

PF_Err ReadParams(SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                  const A_Time& time, bool pre_expression, std::span<const PF_ParamIndex> indices,
                  std::span<AEGP_StreamVal2> values) {
    ParamValues params(suites.StreamSuite());
    PF_Err err = params.GetStreams(plugin_id, effect, indices);
    if (!err) err = params.ReadValues(plugin_id, time, pre_expression, values);
    KeepFirst(err, params.Release());
    return err;
}

}  // namespace knotwell
