#include "frame/mask_outline.h"

namespace knotwell {

PF_Err CountOutlineVertices(const AEGP_MaskOutlineSuite3* outlines, AEGP_MaskOutlineValH outline,
                            A_long* count) {
    A_Boolean open = false;
    A_long segments = 0;
    PF_Err err = outlines->AEGP_IsMaskOutlineOpen(outline, &open);
    if (!err) err = outlines->AEGP_GetMaskOutlineNumSegments(outline, &segments);
    if (!err) *count = open ? segments + 1 : segments;
    return err;
}

}  // namespace knotwell
