// KnotwellBaker's smart pre-render: passes its input through and reads its
// controls into the pre-render record.
#include "baker/params.h"
#include "frame/effect.h"
#include "frame/frame_records.h"
#include "frame/param_checkout.h"
#include "frame/suite_handler.h"
#include "vertex_editor/geometry.h"

namespace knotwell {
namespace {

struct BakerPreRenderData {
    double downsample_x;
    double downsample_y;
    A_long index;
    A_long all;
    A_long bake;
};

}  // namespace

PF_Err effect::PreRender(PF_InData* in_data, PF_OutData*, PF_PreRenderExtra* extra) {
    SuiteHandler suites(in_data->pica_basicP);
    auto* record = MakePreRenderRecord<BakerPreRenderData>(suites, in_data, extra);
    if (!record) return PF_Err_OUT_OF_MEMORY;

    PF_CheckoutResult input{};
    ParamCheckout params(in_data);
    PF_Err err = params.CheckOut(kBakerBake);
    if (!err) err = CheckoutInputLayer(in_data, extra, &input);
    if (err) return err;
    *record = BakerPreRenderData{DownsampleRatio(in_data->downsample_x),
                                 DownsampleRatio(in_data->downsample_y),
                                 params[kBakerIndex].u.sd.value, params[kBakerAll].u.bd.value,
                                 params[kBakerBake].u.pd.value};
    ReportInputRects(input, extra->output);
    return PF_Err_NONE;
}

}  // namespace knotwell
