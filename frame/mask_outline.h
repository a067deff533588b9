// A mask's outline as the effects read it: opened with its mask and stream,
// and its vertex count.
#pragma once

#include "frame/action_context.h"
#include "frame/aegp_refs.h"
#include "frame/host/aegp_suites.h"
#include "frame/suite_handler.h"

namespace knotwell {

// One mask of the action's layer, its outline stream and the outline at the
// action's time before expressions. Each holder gives its reference back;
// Release() gives them all back early, the outline first.
struct OpenedMask {
    explicit OpenedMask(SuiteHandler& suites)
        : mask(suites.LayerMaskSuite()->AEGP_DisposeMask),
          stream(suites.StreamSuite()->AEGP_DisposeStream),
          outline(suites.StreamSuite()) {}

    PF_Err Release() {
        PF_Err err = outline.Release();
        KeepFirst(err, stream.Release());
        KeepFirst(err, mask.Release());
        return err;
    }

    MaskRef mask;
    StreamRef stream;
    StreamValue outline;
    A_long vertex_count = 0;
};

// Opens mask `mask_index` into `opened` and counts its vertices. Host calls
// stop at the first failure, whose code is returned.
PF_Err OpenMask(const ActionContext& action, A_long mask_index, OpenedMask& opened);

}  // namespace knotwell
