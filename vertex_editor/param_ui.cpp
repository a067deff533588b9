// Knotwell's handler for PF_Cmd_USER_CHANGED_PARAM and PF_Cmd_UPDATE_PARAMS_UI:
// greys out the tangent controls the chosen form does not use, hides every
// form and tangent control while the addressed mask is a RotoBezier mask,
// keeps the parameter-state snapshot and asks the host to refresh.
#include <array>
#include <vector>

#include "frame/aegp_refs.h"
#include "frame/effect.h"
#include "frame/frame_records.h"
#include "frame/suite_handler.h"
#include "vertex_editor/params.h"

namespace knotwell {
namespace {

// Which controls are greyed out; all start greyed.
struct Greying {
    bool cartesian = true;  // "Tan In", "Tan Out"
    bool polar_in = true;   // "Tan In Radius", "Tan In Angle", "Symmetric"
    bool polar_out = true;  // "Tan Out Radius", "Tan Out Angle"
};

struct ControlUpdate {
    PF_ParamIndex index;
    const char* name;
    PF_ParamType type;
    bool Greying::*greyed;  // null: greyed exactly when the mask is RotoBezier
};

// The order in which the controls are refreshed.
constexpr std::array<ControlUpdate, 8> kControlUpdates{{
    {kKnotwellCoordinate, "Coordinate", PF_Param_POPUP, nullptr},
    {kKnotwellTanIn, "Tan In", PF_Param_POINT, &Greying::cartesian},
    {kKnotwellTanOut, "Tan Out", PF_Param_POINT, &Greying::cartesian},
    {kKnotwellTanInRadius, "Tan In Radius", PF_Param_FLOAT_SLIDER, &Greying::polar_in},
    {kKnotwellTanInAngle, "Tan In Angle", PF_Param_ANGLE, &Greying::polar_in},
    {kKnotwellSymmetric, "Symmetric", PF_Param_CHECKBOX, &Greying::polar_in},
    {kKnotwellTanOutRadius, "Tan Out Radius", PF_Param_FLOAT_SLIDER, &Greying::polar_out},
    {kKnotwellTanOutAngle, "Tan Out Angle", PF_Param_ANGLE, &Greying::polar_out},
}};

// Asks whether the mask that "Index" addresses (the last one when "Index"
// lies beyond it) is a RotoBezier mask.
PF_Err AddressedMaskIsRotoBezier(SuiteHandler& suites, AEGP_LayerH layer, A_long mask_count,
                                 A_long index, bool* roto_bezier) {
    if (mask_count <= 0 || index < 0) return PF_Err_NONE;
    if (index >= mask_count) index = mask_count - 1;
    const AEGP_LayerMaskSuite5* masks = suites.LayerMaskSuite();
    MaskRef mask(masks->AEGP_DisposeMask);
    A_Boolean roto = false;
    PF_Err err = masks->AEGP_GetLayerMaskByIndex(layer, index, mask.out());
    if (!err) err = masks->AEGP_GetMaskIsRotoBezier(mask.get(), &roto);
    KeepFirst(err, mask.Release());
    *roto_bezier = roto != 0;
    return err;
}

PF_Err UpdateControls(SuiteHandler& suites, PF_InData* in_data, PF_ParamDef* params[],
                      const Greying& greying, bool roto_bezier) {
    const PF_ParamUtilsSuite* param_utils = suites.ParamUtilsSuite();
    PF_Err err = PF_Err_NONE;
    for (const ControlUpdate& update : kControlUpdates) {
        // The host's own definitions are never modified.
        PF_ParamDef def = *params[update.index];
        def.param_type = update.type;
        const bool greyed = update.greyed ? greying.*update.greyed : roto_bezier;
        def.ui_flags = greyed ? (def.ui_flags | PF_PUI_DISABLED) : (def.ui_flags & ~PF_PUI_DISABLED);
        in_data->utils->ansi.strcpy(def.name, update.name);
        err = param_utils->PF_UpdateParamUI(in_data->effect_ref, update.index, &def);
        if (err) break;
    }
    return err;
}

}  // namespace

PF_Err effect::ParamsChanged(PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                             PF_LayerDef*, void*) {
    SuiteHandler suites(in_data->pica_basicP);
    const GlobalRecord* global = FindGlobalRecord(in_data);
    PF_Err err = PF_Err_NONE;
    if (global) {
        Greying greying;
        bool roto_bezier = false;
        AEGP_LayerH layer = nullptr;
        A_long mask_count = 0;
        err = suites.PFInterfaceSuite()->AEGP_GetEffectLayer(in_data->effect_ref, &layer);
        if (!err) err = suites.LayerMaskSuite()->AEGP_GetLayerNumMasks(layer, &mask_count);
        if (!err) {
            err = AddressedMaskIsRotoBezier(suites, layer, mask_count,
                                            params[kKnotwellIndex]->u.sd.value, &roto_bezier);
        }
        if (!roto_bezier) {
            if (params[kKnotwellCoordinate]->u.pd.value == kKnotwellCartesian) {
                greying.cartesian = false;
            } else {
                greying.polar_in = false;
                greying.polar_out = params[kKnotwellSymmetric]->u.bd.value != 0;
            }
        }

        // Parameters 4 to 11 are hidden exactly while the mask is RotoBezier.
        const AEGP_StreamSuite* streams = suites.StreamSuite();
        EffectRef self(suites.EffectSuite3()->AEGP_DisposeEffect);
        if (!err) {
            err = suites.PFInterfaceSuite()->AEGP_GetNewEffectForEffect(global->plugin_id,
                                                                        in_data->effect_ref,
                                                                        self.out());
        }
        std::vector<StreamRef> hidden;
        for (PF_ParamIndex i = kKnotwellCoordinate; i <= kKnotwellSymmetric && !err; ++i) {
            hidden.emplace_back(streams->AEGP_DisposeStream);
            err = streams->AEGP_GetNewEffectStreamByIndex(global->plugin_id, self.get(), i,
                                                          hidden.back().out());
        }
        for (std::size_t i = 0; i < hidden.size() && !err; ++i) {
            err = suites.DynamicStreamSuite()->AEGP_SetDynamicStreamFlag(
                hidden[i].get(), AEGP_DynStreamFlag_HIDDEN, false, roto_bezier);
        }

        if (!err) {
            err = UpdateParamSnapshot(suites, in_data, out_data);
            if (!err) err = UpdateControls(suites, in_data, params, greying, roto_bezier);
            if (err) {
                in_data->utils->ansi.strcpy(out_data->return_msg, "ERROR");
                out_data->out_flags = PF_OutFlag_DISPLAY_ERROR_MESSAGE;
            }
        }
        KeepFirst(err, self.Release());
        for (StreamRef& stream : hidden) KeepFirst(err, stream.Release());
    }
    out_data->out_flags |= PF_OutFlag_REFRESH_UI;
    return err;
}

}  // namespace knotwell
