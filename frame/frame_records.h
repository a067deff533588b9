// The records the frame keeps for the host: the global record (one per
// loaded plug-in) and the helpers every effect handler uses to reach it,
// to make its pre-render record and to keep its parameter-state snapshot.
#pragma once

#include <cstddef>

#include "frame/host/aegp_suites.h"
#include "frame/host/pf_smart_render.h"
#include "frame/suite_handler.h"

namespace knotwell {

struct GlobalRecord {
    AEGP_PluginID plugin_id;
};

// The global record installed at global setup, or null when there is none.
const GlobalRecord* FindGlobalRecord(const PF_InData* in_data);

// Makes a zero-filled pre-render record of `size` bytes as a host handle,
// stores the handle in pre_render_data together with the function that
// releases it, and returns the locked block. Null when no block could be
// had or locked: the caller then returns PF_Err_OUT_OF_MEMORY.
void* MakePreRenderRecord(SuiteHandler& suites, PF_InData* in_data, PF_PreRenderExtra* extra,
                          std::size_t size);

template <class Record>
Record* MakePreRenderRecord(SuiteHandler& suites, PF_InData* in_data, PF_PreRenderExtra* extra) {
    return static_cast<Record*>(MakePreRenderRecord(suites, in_data, extra, sizeof(Record)));
}

// Replaces the instance's parameter-state snapshot in sequence_data when the
// host reports a change since the last one. Returns the first host error.
PF_Err UpdateParamSnapshot(SuiteHandler& suites, PF_InData* in_data, PF_OutData* out_data);

// Joins the input's rectangles into the pre-render output's, as every
// pass-through pre-render reports them.
void ReportInputRects(const PF_CheckoutResult& input, PF_PreRenderOutput* output);

// Checks out the input layer (parameter 0, checkout id 0) at the current
// time for the whole of the requested output, keeping the colour of
// transparent pixels.
PF_Err CheckoutInputLayer(PF_InData* in_data, PF_PreRenderExtra* extra, PF_CheckoutResult* result);


}  // namespace knotwell
