// The parameter handler of the maker and the baker, whose controls both
// begin with "Index" (1) and "All" (2): "Index" is greyed out while "All"
// is on, and the parameter-state snapshot is kept. Compiled into those two
// plug-ins only.
#include "frame/effect.h"
#include "frame/frame_records.h"
#include "frame/suite_handler.h"

namespace knotwell {
namespace {

constexpr PF_ParamIndex kIndex = 1;
constexpr PF_ParamIndex kAll = 2;

}  // namespace

PF_Err effect::ParamsChanged(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                             PF_LayerDef*, void*) {
    SuiteHandler suites(in_data->pica_basicP);
    PF_Err err = PF_Err_NONE;
    if (FindGlobalRecord(in_data)) {
        // The host's own definition is never modified.
        PF_ParamDef index = *params[kIndex];
        err = UpdateParamSnapshot(suites, in_data, out_data);
        if (!err) {
            index.ui_flags = params[kAll]->u.bd.value ? (index.ui_flags | PF_PUI_DISABLED)
                                                      : (index.ui_flags & ~PF_PUI_DISABLED);
            index.param_type = PF_Param_SLIDER;
            in_data->utils->ansi.strcpy(index.name, "Index");
            err = suites.ParamUtilsSuite()->PF_UpdateParamUI(in_data->effect_ref, kIndex, &index);
        }
        if (err) {
            in_data->utils->ansi.strcpy(out_data->return_msg, "ERROR");
            out_data->out_flags = PF_OutFlag_DISPLAY_ERROR_MESSAGE;
        }
    }
    out_data->out_flags |= PF_OutFlag_REFRESH_UI;
    return err;
}

}  // namespace knotwell
