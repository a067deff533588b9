#include "frame/frame_commands.h"

#include <cstring>
#include <utility>

#include "frame/effect.h"
#include "frame/frame_records.h"
#include "frame/suite_handler.h"

namespace knotwell {
namespace {

// The build gives each plug-in the display name of its property list.
constexpr const char* kDisplayName = KNOTWELL_DISPLAY_NAME;

// Makes a zero-filled block, lets `fill` complete it while locked and
// installs it in `target`. A block that is not installed is given back,
// also when `fill` throws, so a failed setup leaves nothing in the host.
template <class Fill>
PF_Err InstallNewBlock(const PF_HandleSuite* handles, A_u_longlong size, PF_Handle* target,
                       PF_Err no_block_err, Fill fill) {
    struct Pending {
        const PF_HandleSuite* handles;
        PF_Handle block;
        bool locked = false;
        ~Pending() {
            if (locked) handles->host_unlock_handle(block);
            if (block) handles->host_dispose_handle(block);
        }
    } pending{handles, handles->host_new_handle(size)};
    if (!pending.block) return no_block_err;
    void* p = handles->host_lock_handle(pending.block);
    if (!p) return PF_Err_OUT_OF_MEMORY;
    pending.locked = true;
    std::memset(p, 0, static_cast<std::size_t>(size));
    const PF_Err err = fill(p);
    handles->host_unlock_handle(pending.block);
    pending.locked = false;
    if (!err) *target = std::exchange(pending.block, nullptr);
    return err;
}

}  // namespace

PF_Err About(PF_InData* in_data, PF_OutData* out_data) {
    if constexpr (kLegacyInterface) {
        SuiteHandler suites(in_data->pica_basicP);
        suites.ANSISuite()->sprintf(out_data->return_msg, "%s, v%d.%d\r%s", kDisplayName, 1,
                                    0, "Imagination!");
    } else {
        in_data->utils->ansi.sprintf(out_data->return_msg, "%s, v%d.%d%d\r%s",
                                     kDisplayName, 1, 0, 0, "Imagination!");
    }
    return PF_Err_NONE;
}

PF_Err GlobalSetup(PF_InData* in_data, PF_OutData* out_data) {
    SuiteHandler suites(in_data->pica_basicP);
    out_data->my_version = kVersionWord;
    out_data->out_flags |= kGlobalOutFlags;
    out_data->out_flags2 |= kGlobalOutFlags2;
    // No block at all is a damaged host; a block that cannot be locked is
    // a lack of memory.
    return InstallNewBlock(suites.HandleSuite(), sizeof(GlobalRecord), &out_data->global_data,
                           PF_Err_INTERNAL_STRUCT_DAMAGED, [&](void* block) {
                               auto* record = static_cast<GlobalRecord*>(block);
                               return suites.UtilitySuite()->AEGP_RegisterWithAEGP(
                                   nullptr, "Error!", &record->plugin_id);
                           });
}

PF_Err GlobalSetdown(PF_InData* in_data) {
    SuiteHandler suites(in_data->pica_basicP);
    if (in_data->global_data) suites.HandleSuite()->host_dispose_handle(in_data->global_data);
    return PF_Err_NONE;
}

PF_Err SequenceSetup(PF_InData* in_data, PF_OutData* out_data) {
    SuiteHandler suites(in_data->pica_basicP);
    PF_Err err = SequenceSetdown(in_data, out_data);
    // The placeholder has the size of a parameter-state snapshot, so the
    // parameter handlers' first comparison reads a whole (zero) state.
    if (!err) {
        err = InstallNewBlock(suites.HandleSuite(), sizeof(PF_State), &out_data->sequence_data,
                              PF_Err_OUT_OF_MEMORY, [](void*) { return PF_Err{PF_Err_NONE}; });
    }
    return err;
}

PF_Err SequenceSetdown(PF_InData* in_data, PF_OutData*) {
    if (!in_data->sequence_data) return PF_Err_NONE;
    SuiteHandler suites(in_data->pica_basicP);
    suites.HandleSuite()->host_dispose_handle(in_data->sequence_data);
    return PF_Err_NONE;
}

PF_Err CompletelyGeneral(PF_InData* in_data, PF_OutData* out_data, const char* text) {
    // Cut to what return_msg holds, so no text can overrun it.
    char message[PF_MAX_EFFECT_MSG_LEN + 1] = {};
    if (text) std::strncpy(message, text, PF_MAX_EFFECT_MSG_LEN);
    SuiteHandler suites(in_data->pica_basicP);
    suites.ANSISuite()->sprintf(out_data->return_msg, "%s", message);
    return PF_Err_NONE;
}

}  // namespace knotwell
