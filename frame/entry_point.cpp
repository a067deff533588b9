// EntryPointFunc: the one export of every plug-in library. It selects the
// handler of each command and is the one place where anything thrown below
// is turned into a host error code.
#include <new>

#include "frame/effect.h"
#include "frame/frame_commands.h"
#include "frame/host/export.h"
#include "frame/interface_generation.h"
#include "frame/pass_through_render.h"

namespace knotwell {
namespace {

PF_Err Dispatch(PF_Cmd cmd, PF_InData* in_data, PF_OutData* out_data, PF_ParamDef* params[],
                PF_LayerDef* output, void* extra) {
    switch (cmd) {
        case PF_Cmd_ABOUT:
            return About(in_data, out_data);
        case PF_Cmd_GLOBAL_SETUP:
            return GlobalSetup(in_data, out_data);
        case PF_Cmd_GLOBAL_SETDOWN:
            // The older host keeps the global record for as long as the
            // library stays loaded.
            if constexpr (kLegacyInterface) return PF_Err_NONE;
            return GlobalSetdown(in_data);
        case PF_Cmd_PARAMS_SETUP:
            return effect::ParamsSetup(in_data, out_data, params, output);
        case PF_Cmd_SEQUENCE_SETUP:
        case PF_Cmd_SEQUENCE_RESETUP:
            return SequenceSetup(in_data, out_data);
        case PF_Cmd_SEQUENCE_SETDOWN:
            return SequenceSetdown(in_data, out_data);
        case PF_Cmd_USER_CHANGED_PARAM:
        case PF_Cmd_UPDATE_PARAMS_UI:
            return effect::ParamsChanged(in_data, out_data, params, output, extra);
        case PF_Cmd_COMPLETELY_GENERAL:
            if constexpr (kLegacyInterface) {
                return CompletelyGeneral(in_data, out_data, static_cast<const char*>(extra));
            }
            return PF_Err_NONE;
        case PF_Cmd_SMART_PRE_RENDER:
            return effect::PreRender(in_data, out_data, static_cast<PF_PreRenderExtra*>(extra));
        case PF_Cmd_SMART_RENDER:
            return PassThroughRender(in_data, out_data, static_cast<PF_SmartRenderExtra*>(extra));
        default:
            return PF_Err_NONE;
    }
}

}  // namespace
}  // namespace knotwell

extern "C" KNOTWELL_EXPORT PF_Err EntryPointFunc(PF_Cmd cmd, PF_InData* in_data,
                                                 PF_OutData* out_data, PF_ParamDef* params[],
                                                 PF_LayerDef* output, void* extra) {
    // No exception may cross into the host.
    try {
        return knotwell::Dispatch(cmd, in_data, out_data, params, output, extra);
    } catch (PF_Err thrown) {
        return thrown;
    } catch (const std::bad_alloc&) {
        return PF_Err_OUT_OF_MEMORY;
    } catch (...) {
        return PF_Err_INTERNAL_STRUCT_DAMAGED;
    }
}
