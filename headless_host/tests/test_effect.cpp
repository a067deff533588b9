// A minimal effect for driving the host in tests: what the real plug-ins
// do, in a few lines, through each callback the host offers. Legacy hosts
// (interface 12.x) are answered like the legacy plug-ins: no GLOBAL_SETDOWN.
#include <algorithm>
#include <cstring>

#include "frame/host/aegp_suites.h"
#include "frame/host/pf_smart_render.h"
#include "frame/host/pf_suites.h"
#include "frame/host/sp_basic_suite.h"

namespace {

// The pre-render record keeps the dispose function: the host hands the
// release function nothing but the handle.
struct PreRenderRecord {
    void (*dispose)(PF_Handle);
};

void DeletePreRenderData(void* data) {
    auto handle = static_cast<PF_Handle>(data);
    static_cast<PreRenderRecord*>(*handle)->dispose(handle);
}

template <class Suite>
const Suite* Acquire(PF_InData* in, const char* name, A_long version) {
    const void* table = nullptr;
    if (!in->pica_basicP || in->pica_basicP->AcquireSuite(name, version, &table) != kSPNoError) {
        return nullptr;
    }
    return static_cast<const Suite*>(table);
}

PF_Err GlobalSetup(PF_InData* in, PF_OutData* out) {
    const auto* utility = Acquire<AEGP_UtilitySuite7>(in, kAEGPUtilitySuite, 7);
    if (!utility) return PF_Err_BAD_CALLBACK_PARAM;
    PF_Handle global = in->utils->host_new_handle(sizeof(AEGP_PluginID));
    PF_Err err = global ? PF_Err_NONE : PF_Err_OUT_OF_MEMORY;
    if (!err) {
        err = utility->AEGP_RegisterWithAEGP(nullptr, "Test", static_cast<AEGP_PluginID*>(*global));
    }
    in->pica_basicP->ReleaseSuite(kAEGPUtilitySuite, 7);
    out->global_data = global;
    return err;
}

PF_Err ParamsSetup(PF_InData* in, PF_OutData* out) {
    PF_ParamDef def{};
    def.param_type = PF_Param_SLIDER;
    std::strcpy(def.name, "Amount");
    def.u.sd.value = 5;
    PF_Err err = in->inter.add_param(in->effect_ref, -1, &def);
    def = PF_ParamDef{};
    def.param_type = PF_Param_POPUP;
    def.flags = PF_ParamFlag_CANNOT_TIME_VARY;
    std::strcpy(def.name, "Mode");
    char choices[] = "One|Two|Three";
    def.u.pd.u.namesptr = choices;
    def.u.pd.value = 1;
    if (!err) err = in->inter.add_param(in->effect_ref, -1, &def);
    def = PF_ParamDef{};
    def.param_type = PF_Param_POINT;
    std::strcpy(def.name, "Where");
    def.u.td.x_value = 3 * PF_Fixed_ONE;
    def.u.td.y_value = 4 * PF_Fixed_ONE;
    if (!err) err = in->inter.add_param(in->effect_ref, -1, &def);
    out->num_params = 4;
    return err;
}

// Works on the project like the real plug-ins: with "Mode" on "Two" a
// pre-render raises "Amount" by one up to 8; on "Three" it flips "Amount"
// between 0 and 1, so the project never settles.
PF_Err Chase(PF_InData* in, A_long mode) {
    if (mode < 2) return PF_Err_NONE;
    const A_long stream_version = in->version_major == 13 ? 9 : 7;
    const auto* pf = Acquire<AEGP_PFInterfaceSuite1>(in, kAEGPPFInterfaceSuite, 1);
    const auto* streams = Acquire<AEGP_StreamSuite>(in, kAEGPStreamSuite, stream_version);
    const auto* effects = Acquire<AEGP_EffectSuite>(in, kAEGPEffectSuite, 3);
    PF_Err err = pf && streams && effects ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
    const AEGP_PluginID id = *static_cast<AEGP_PluginID*>(*in->global_data);
    const A_Time now{in->current_time, in->time_scale};
    AEGP_EffectRefH self = nullptr;
    AEGP_StreamRefH amount = nullptr;
    AEGP_StreamValue2 value{};
    if (!err) err = pf->AEGP_GetNewEffectForEffect(id, in->effect_ref, &self);
    if (!err) err = streams->AEGP_GetNewEffectStreamByIndex(id, self, 1, &amount);
    if (!err) err = streams->AEGP_GetNewStreamValue(id, amount, AEGP_LTimeMode_LayerTime, &now, true, &value);
    if (!err) {
        value.val.one_d = mode == 2 ? std::min(value.val.one_d + 1, 8.0) : 1 - value.val.one_d;
        err = streams->AEGP_SetStreamValue(id, amount, &value);
        streams->AEGP_DisposeStreamValue(&value);
    }
    if (amount) streams->AEGP_DisposeStream(amount);
    if (self) effects->AEGP_DisposeEffect(self);
    if (pf) in->pica_basicP->ReleaseSuite(kAEGPPFInterfaceSuite, 1);
    if (streams) in->pica_basicP->ReleaseSuite(kAEGPStreamSuite, stream_version);
    if (effects) in->pica_basicP->ReleaseSuite(kAEGPEffectSuite, 3);
    return err;
}

// The sequence data is a PF_State snapshot; a change of parameters takes a
// new one and greys out "Amount".
PF_Err ParamsChanged(PF_InData* in, PF_OutData* out, PF_ParamDef* params[]) {
    const auto* utils = Acquire<PF_ParamUtilsSuite>(in, kPFParamUtilsSuite, in->version_major == 13 ? 2 : 1);
    if (!utils) return PF_Err_BAD_CALLBACK_PARAM;
    PF_Boolean changed = 0;
    PF_Err err = utils->PF_HasParamChanged(in->effect_ref, static_cast<PF_State*>(*in->sequence_data),
                                           PF_ParamIndex_CHECK_ALL, &changed);
    if (!err && changed) err = utils->PF_GetCurrentState(in->effect_ref, static_cast<PF_State*>(*in->sequence_data));
    PF_ParamDef amount = *params[1];
    amount.ui_flags |= PF_PUI_DISABLED;
    std::strcpy(amount.name, "Amount (off)");
    if (!err) err = utils->PF_UpdateParamUI(in->effect_ref, 1, &amount);
    in->pica_basicP->ReleaseSuite(kPFParamUtilsSuite, in->version_major == 13 ? 2 : 1);
    out->out_flags |= PF_OutFlag_REFRESH_UI;
    return err;
}

PF_Err PreRender(PF_InData* in, PF_PreRenderExtra* extra) {
    PF_ParamDef mode{};
    PF_Err err = in->inter.checkout_param(in->effect_ref, 2, in->current_time, in->time_step,
                                          in->time_scale, &mode);
    if (!err) err = in->inter.checkin_param(in->effect_ref, &mode);
    if (!err) err = Chase(in, mode.u.pd.value);
    PF_CheckoutResult input{};
    if (!err) {
        err = extra->cb->checkout_layer(in->effect_ref, 0, 0, &extra->input->output_request,
                                        in->current_time, in->time_step, in->time_scale, &input);
    }
    PF_Handle record = in->utils->host_new_handle(sizeof(PreRenderRecord));
    if (!record) return PF_Err_OUT_OF_MEMORY;
    static_cast<PreRenderRecord*>(*record)->dispose = in->utils->host_dispose_handle;
    extra->output->pre_render_data = record;
    extra->output->delete_pre_render_data_func = DeletePreRenderData;
    extra->output->result_rect = input.result_rect;
    extra->output->max_result_rect = input.max_result_rect;
    return err;
}

PF_Err Render(PF_InData* in, PF_OutData* out, PF_SmartRenderExtra* extra) {
    PF_EffectWorld* input = nullptr;
    PF_EffectWorld* output = nullptr;
    PF_Err err = extra->cb->checkout_layer_pixels(in->effect_ref, 0, &input);
    if (!err) err = extra->cb->checkout_output(in->effect_ref, &output);
    const auto* worlds = Acquire<PF_WorldSuite2>(in, kPFWorldSuite, 2);
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    if (!err && worlds) err = worlds->PF_GetPixelFormat(input, &format);
    if (!err) err = in->utils->copy(in->effect_ref, input, output, nullptr, nullptr);
    if (worlds) in->pica_basicP->ReleaseSuite(kPFWorldSuite, 2);
    if (err) {
        out->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
        in->utils->ansi.sprintf(out->return_msg, "render failed: %d", err);
    }
    return err;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) PF_Err EntryPointFunc(
    PF_Cmd cmd, PF_InData* in, PF_OutData* out, PF_ParamDef* params[], PF_LayerDef*, void* extra) {
    switch (cmd) {
        case PF_Cmd_ABOUT:
            in->utils->ansi.sprintf(out->return_msg, "Test effect v%d", 1);
            return PF_Err_NONE;
        case PF_Cmd_GLOBAL_SETUP:
            return GlobalSetup(in, out);
        case PF_Cmd_GLOBAL_SETDOWN:
            if (in->version_major == 13) in->utils->host_dispose_handle(in->global_data);
            return PF_Err_NONE;
        case PF_Cmd_PARAMS_SETUP:
            return ParamsSetup(in, out);
        case PF_Cmd_SEQUENCE_SETUP:
            out->sequence_data = in->utils->host_new_handle(sizeof(PF_State));
            return out->sequence_data ? PF_Err_NONE : PF_Err_OUT_OF_MEMORY;
        case PF_Cmd_SEQUENCE_SETDOWN:
            in->utils->host_dispose_handle(in->sequence_data);
            return PF_Err_NONE;
        case PF_Cmd_USER_CHANGED_PARAM:
            return ParamsChanged(in, out, params);
        case PF_Cmd_SMART_PRE_RENDER:
            return PreRender(in, static_cast<PF_PreRenderExtra*>(extra));
        case PF_Cmd_SMART_RENDER:
            return Render(in, out, static_cast<PF_SmartRenderExtra*>(extra));
        default:
            return PF_Err_NONE;
    }
}
