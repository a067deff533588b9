#include "baker/params.h"

#include "frame/effect.h"
#include "frame/param_setup.h"

namespace knotwell::effect {

PF_Err ParamsSetup(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef*[], PF_LayerDef*) {
    PF_Err err =
        AddSlider(in_data, kBakerIndex, "Index", kStaticParamFlags, {0, 10000, 0, 10}, 0);
    if (!err) {
        err = AddCheckbox(in_data, kBakerAll, "All", kStaticParamFlags, "", false);
    }
    if (!err) {
        err = AddPopup(in_data, kBakerBake, "Bake", kStaticParamFlags, kActionPopupItems, 2,
                       kActionIdle);
    }
    if (!err) {
        out_data->num_params = kBakerParamCount;
    }
    return err;
}

}  // namespace knotwell::effect
