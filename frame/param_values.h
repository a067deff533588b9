// Controls of an effect reached through their parameter streams: the
// streams and their values at one time, held together so that writing and
// reading controls share one way of obtaining and giving them back.
#pragma once

#include <span>
#include <vector>

#include "frame/aegp_refs.h"
#include "frame/host/aegp_suites.h"
#include "frame/suite_handler.h"

namespace knotwell {

class ParamValues {
public:
    explicit ParamValues(const AEGP_StreamSuite* streams) : streams_(streams) {}
    ~ParamValues() { Release(); }
    ParamValues(ParamValues&&) = default;
    ParamValues& operator=(ParamValues&&) = delete;
    ParamValues(const ParamValues&) = delete;
    ParamValues& operator=(const ParamValues&) = delete;

    // Gets the streams of the controls `indices`, in the order given. Stops
    // at the first failure and returns its code.
    PF_Err GetStreams(AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                      std::span<const PF_ParamIndex> indices);
    // Gets the value of every stream at `time` (layer time), in the order
    // of the streams. Stops at the first failure and returns its code.
    PF_Err GetValues(AEGP_PluginID plugin_id, const A_Time& time, bool pre_expression);
    // The streams, then their values.
    PF_Err Fetch(AEGP_PluginID plugin_id, AEGP_EffectRefH effect, const A_Time& time,
                 bool pre_expression, std::span<const PF_ParamIndex> indices);
    // Gets the values at `time`; values[index] receives the value of
    // control `index`. The values are given back, the streams kept, so an
    // owner can read the same controls at many times; the first failure is
    // returned.
    PF_Err ReadValues(AEGP_PluginID plugin_id, const A_Time& time, bool pre_expression,
                      std::span<AEGP_StreamVal2> values);

    // The i-th control of the fetch.
    AEGP_StreamRefH stream(std::size_t i) const { return refs_[i].get(); }
    AEGP_StreamValue2& value(std::size_t i) { return values_[i].value(); }

    // Gives back the values in the order obtained and returns the first
    // failure.
    PF_Err ReleaseValues();
    // Gives back the values, then the streams, in the order obtained, and
    // returns the first failure.
    PF_Err Release();

private:
    const AEGP_StreamSuite* streams_;
    std::vector<PF_ParamIndex> indices_;
    std::vector<StreamRef> refs_;
    std::vector<StreamValue> values_;
};

// Reads the controls `indices` of `effect` at `time`; values[index] receives
// the value of control `index`. Everything obtained is given back before
// the function returns; the first failure is returned.
PF_Err ReadParams(SuiteHandler& suites, AEGP_PluginID plugin_id, AEGP_EffectRefH effect,
                  const A_Time& time, bool pre_expression, std::span<const PF_ParamIndex> indices,
                  std::span<AEGP_StreamVal2> values);

}  // namespace knotwell
