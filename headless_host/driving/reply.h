// What a plug-in answered to one command.
#pragma once

#include <cstring>
#include <string_view>

#include "frame/host/pf_smart_render.h"

namespace knotwell::host {

struct Reply {
    PF_Err err = PF_Err_NONE;
    PF_OutData out{};

    std::string_view return_msg() const {
        return {out.return_msg, strnlen(out.return_msg, sizeof out.return_msg)};
    }
    bool shows_error() const { return (out.out_flags & PF_OutFlag_DISPLAY_ERROR_MESSAGE) != 0; }
};

// One frame: the pre-render and, when that succeeded, the render.
struct FrameReply {
    Reply pre_render;
    Reply render;
    bool rendered = false;
    PF_PreRenderOutput pre_render_output{};

    PF_Err err() const { return pre_render.err != PF_Err_NONE ? pre_render.err : render.err; }
};

}  // namespace knotwell::host
