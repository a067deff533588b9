// "PF World Suite" 2 and the image copy of in_data->utils.
#include "headless_host/core/world.h"
#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {

namespace {

PF_Err GetPixelFormat(const PF_EffectWorld* world, PF_PixelFormat* format) {
    const CallVerdict verdict = Host::Active().calls().Enter("PF_GetPixelFormat");
    if (verdict.error != PF_Err_NONE) return verdict.error;
    if (!format) return PF_Err_BAD_CALLBACK_PARAM;
    const auto known = PixelFormatOf(world);
    *format = known.value_or(PF_PixelFormat_INVALID);
    return known ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
}

PF_Err Copy(PF_ProgPtr, PF_EffectWorld* src, PF_EffectWorld* dst, PF_Rect* src_rect,
            PF_Rect* dst_rect) {
    const CallVerdict verdict = Host::Active().calls().Enter("copy");
    if (verdict.error != PF_Err_NONE) return verdict.error;
    return CopyWorld(src, dst, src_rect, dst_rect);
}

}  // namespace

const PF_WorldSuite2& WorldSuite() {
    static const PF_WorldSuite2 suite{GetPixelFormat};
    return suite;
}

PF_UtilCallbacks& UtilCallbacks() {
    static PF_UtilCallbacks utils = [] {
        const PF_HandleSuite& handles = HandleSuite();
        return PF_UtilCallbacks{Copy,
                                handles.host_new_handle,
                                handles.host_lock_handle,
                                handles.host_unlock_handle,
                                handles.host_dispose_handle,
                                handles.host_get_handle_size,
                                AnsiCallbacks()};
    }();
    return utils;
}

}  // namespace knotwell::host
