// What every smart pre-render does around its effect's own work: it makes
// its record as a host handle, checks out its controls (back in once read)
// and its input, fills the record, and, whatever the work returned,
// reports the input's rectangles as its own.
#pragma once

#include "frame/frame_records.h"
#include "frame/param_checkout.h"

namespace knotwell {

// `fill(const ParamCheckout&, Record*)` reads the controls into the record;
// `work(const GlobalRecord&, Record&)` does the effect's work and
// returns its first error.
template <class Record, class Fill, class Work>
PF_Err PassThroughPreRender(SuiteHandler& suites, PF_InData* in_data, PF_PreRenderExtra* extra,
                            PF_ParamIndex last_param, Fill fill, Work work) {
    auto* record = MakePreRenderRecord<Record>(suites, in_data, extra);
    if (!record) return PF_Err_OUT_OF_MEMORY;

    PF_CheckoutResult input{};
    {
        ParamCheckout params(in_data);
        PF_Err err = params.CheckOut(last_param);
        if (!err) err = CheckoutInputLayer(in_data, extra, &input);
        if (err) return err;
        fill(params, record);
    }
    const GlobalRecord* global = FindGlobalRecord(in_data);
    const PF_Err err = global ? work(*global, *record) : PF_Err_BAD_CALLBACK_PARAM;
    ReportInputRects(input, extra->output);
    return err;
}

}  // namespace knotwell
