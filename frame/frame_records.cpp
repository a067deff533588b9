#include "frame/frame_records.h"

#include <cstring>

#include "frame/rect_union.h"

namespace knotwell {
namespace {

// Every pre-render record starts with what its release needs: the host
// hands the release function nothing but the handle.
struct PreRenderRecordHeader {
    void (*dispose)(PF_Handle);
};
constexpr std::size_t kHeaderSize = 16;
static_assert(sizeof(PreRenderRecordHeader) <= kHeaderSize);

void DeletePreRenderRecord(void* pre_render_data) {
    auto handle = static_cast<PF_Handle>(pre_render_data);
    const auto* header = static_cast<const PreRenderRecordHeader*>(*handle);
    header->dispose(handle);
}

}  // namespace

const GlobalRecord* FindGlobalRecord(const PF_InData* in_data) {
    return in_data->global_data ? static_cast<const GlobalRecord*>(*in_data->global_data) : nullptr;
}

void* MakePreRenderRecord(SuiteHandler& suites, PF_InData* in_data, PF_PreRenderExtra* extra,
                          std::size_t size) {
    const PF_HandleSuite* handles = suites.HandleSuite();
    PF_Handle handle = handles->host_new_handle(kHeaderSize + size);
    if (!handle) return nullptr;
    auto* block = static_cast<unsigned char*>(handles->host_lock_handle(handle));
    if (!block) {
        handles->host_dispose_handle(handle);
        return nullptr;
    }
    std::memset(block, 0, kHeaderSize + size);
    PreRenderRecordHeader header{in_data->utils->host_dispose_handle};
    std::memcpy(block, &header, sizeof header);
    extra->output->pre_render_data = handle;
    extra->output->delete_pre_render_data_func = DeletePreRenderRecord;
    return block + kHeaderSize;
}

PF_Err UpdateParamSnapshot(SuiteHandler& suites, PF_InData* in_data, PF_OutData* out_data) {
    const PF_ParamUtilsSuite* params = suites.ParamUtilsSuite();
    // Had before any block is made, so no suite failure can strand one.
    const PF_HandleSuite* handles = suites.HandleSuite();
    // Without a snapshot to compare with, a first one is taken.
    PF_Boolean changed = true;
    PF_Err err = PF_Err_NONE;
    if (in_data->sequence_data) {
        const auto* snapshot = static_cast<const PF_State*>(*in_data->sequence_data);
        err = params->PF_HasParamChanged(in_data->effect_ref, snapshot, PF_ParamIndex_CHECK_ALL,
                                         &changed);
    }
    if (err || !changed) return err;

    // No memory for a new snapshot keeps the old one; that is no error.
    PF_Handle fresh = in_data->utils->host_new_handle(sizeof(PF_State));
    if (!fresh) return PF_Err_NONE;
    err = params->PF_GetCurrentState(in_data->effect_ref, static_cast<PF_State*>(*fresh));
    if (err) {
        handles->host_dispose_handle(fresh);
        return err;
    }
    if (in_data->sequence_data) handles->host_dispose_handle(in_data->sequence_data);
    out_data->sequence_data = fresh;
    in_data->sequence_data = fresh;
    return PF_Err_NONE;
}

void ReportInputRects(const PF_CheckoutResult& input, PF_PreRenderOutput* output) {
    UnionRect(input.result_rect, output->result_rect);
    UnionRect(input.max_result_rect, output->max_result_rect);
}

PF_Err CheckoutInputLayer(PF_InData* in_data, PF_PreRenderExtra* extra, PF_CheckoutResult* result) {
    PF_RenderRequest request = extra->input->output_request;
    request.preserve_rgb_of_zero_alpha = true;
    *result = PF_CheckoutResult{};
    return extra->cb->checkout_layer(in_data->effect_ref, 0, 0, &request, in_data->current_time,
                                     in_data->time_step, in_data->time_scale, result);
}


}  // namespace knotwell
