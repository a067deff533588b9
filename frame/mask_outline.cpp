#include "frame/mask_outline.h"

namespace knotwell {
namespace {

// An open outline has one vertex more than segments, a closed one as many.
// *count stays untouched when a host call fails.
PF_Err CountOutlineVertices(const AEGP_MaskOutlineSuite3* outlines, AEGP_MaskOutlineValH outline,
                            A_long* count) {
    A_Boolean open = false;
    A_long segments = 0;
    PF_Err err = outlines->AEGP_IsMaskOutlineOpen(outline, &open);
    if (!err) err = outlines->AEGP_GetMaskOutlineNumSegments(outline, &segments);
    if (!err) *count = open ? segments + 1 : segments;
    return err;
}

}  // namespace

PF_Err OpenMask(const ActionContext& action, A_long mask_index, OpenedMask& opened) {
    SuiteHandler& suites = action.suites;
    PF_Err err = suites.LayerMaskSuite()->AEGP_GetLayerMaskByIndex(action.layer, mask_index, opened.mask.out());
    if (!err) {
        err = suites.StreamSuite()->AEGP_GetNewMaskStream(action.plugin_id, opened.mask.get(),
                                                          AEGP_MaskStream_OUTLINE, opened.stream.out());
    }
    if (!err) err = opened.outline.Fetch(action.plugin_id, opened.stream.get(), action.now, true);
    if (!err) {
        err = CountOutlineVertices(suites.MaskOutlineSuite(), opened.outline.value().val.mask,
                                   &opened.vertex_count);
    }
    return err;
}

}  // namespace knotwell
