#include "maker/params.h"

#include "frame/effect.h"
#include "frame/param_setup.h"

namespace knotwell::effect {

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*) {
    PF_Err err =
        AddSlider(in_data, kMakerIndex, "Index", kStaticParamFlags, {-1, 10000, -1, 10}, -1);
    if (!err) {
        err = AddCheckbox(in_data, kMakerAll, "All", kStaticParamFlags, "", false);
    }
    if (!err) {
        err = AddCheckbox(in_data, kMakerBaker, "Baker", kStaticParamFlags, "", true);
    }
    if (!err) {
        err = AddPopup(in_data, kMakerMake, "Make", kStaticParamFlags, kActionPopupItems, 2,
                       kActionIdle);
    }
    if (!err) {
        out_data->num_params = kMakerParamCount;
    }
    return err;
}

}  // namespace knotwell::effect
