#include "frame/pass_through_render.h"

#include "frame/host/pf_suites.h"
#include "frame/suite_handler.h"
#include "frame/suite_scope.h"

namespace knotwell {
namespace {

bool IsAcceptedFormat(PF_PixelFormat format) {
    return format == PF_PixelFormat_ARGB32 || format == PF_PixelFormat_ARGB64 ||
           format == PF_PixelFormat_ARGB128;
}

}  // namespace

PF_Err PassThroughRender(PF_InData* in_data, PF_OutData* out_data, PF_SmartRenderExtra* extra) {
    SuiteHandler suites(in_data->pica_basicP);
    // The pre-render record must exist; its contents are not needed here.
    auto record = static_cast<PF_Handle>(extra->input->pre_render_data);
    if (!suites.HandleSuite()->host_lock_handle(record)) return PF_Err_BAD_CALLBACK_PARAM;

    PF_Err err = PF_Err_NONE;
    PF_EffectWorld* input = nullptr;
    PF_EffectWorld* output = nullptr;
    err = extra->cb->checkout_layer_pixels(in_data->effect_ref, 0, &input);
    if (!err) err = extra->cb->checkout_output(in_data->effect_ref, &output);

    SuiteScope<PF_WorldSuite2> world(in_data, out_data, kPFWorldSuite, kPFWorldSuiteVersion2);
    if (!err) err = world.Acquire("Couldn't load suite.");
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    if (!err) err = world->PF_GetPixelFormat(input, &format);
    // A failed step keeps its own code; only a format we cannot copy is 516.
    if (!err && !IsAcceptedFormat(format)) err = PF_Err_BAD_CALLBACK_PARAM;
    if (!err) err = in_data->utils->copy(in_data->effect_ref, input, output, nullptr, nullptr);

    if (world.held()) {
        const PF_Err release_err = world.Release("Couldn't release suite.");
        if (!err) err = release_err;
    }
    return err;
}

}  // namespace knotwell
