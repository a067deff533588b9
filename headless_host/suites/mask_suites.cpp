// "AEGP Layer Mask Suite" 5 and "AEGP Mask Outline Suite" 3: a layer's
// masks, and the outlines that AEGP_GetNewStreamValue hands out. A vertex
// index outside the outline is refused, never read or written.
#include "headless_host/suites/aegp_suites.h"
#include "headless_host/suites/aegp_support.h"

namespace knotwell::host {

namespace {

A_Err GetLayerNumMasks(AEGP_LayerH layerH, A_long* num_masksPL) {
    return AegpCall("AEGP_GetLayerNumMasks", [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, "AEGP_GetLayerNumMasks", {num_masksPL})) return err;
        const project::Layer* layer = FindLayer(host, layerH, "AEGP_GetLayerNumMasks");
        if (!layer) return PF_Err_BAD_CALLBACK_PARAM;
        *num_masksPL = static_cast<A_long>(layer->masks.size());
        return PF_Err_NONE;
    });
}

A_Err GetLayerMaskByIndex(AEGP_LayerH layerH, AEGP_MaskIndex index, AEGP_MaskRefH* maskPH) {
    return AegpCall("AEGP_GetLayerMaskByIndex", [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, "AEGP_GetLayerMaskByIndex", {maskPH})) return err;
        project::Layer* layer = FindLayer(host, layerH, "AEGP_GetLayerMaskByIndex");
        if (!layer) return PF_Err_BAD_CALLBACK_PARAM;
        if (index < 0 || static_cast<std::size_t>(index) >= layer->masks.size()) return PF_Err_INVALID_INDEX;
        *maskPH = static_cast<AEGP_MaskRefH>(host.references().Open(
            kMaskRefKind, MaskRefRecord{layer, &layer->masks[static_cast<std::size_t>(index)]},
            "AEGP_GetLayerMaskByIndex"));
        return PF_Err_NONE;
    });
}

A_Err DisposeMask(AEGP_MaskRefH maskH) {
    return DisposeReference("AEGP_DisposeMask", maskH, kMaskRefKind);
}

A_Err GetMaskIsRotoBezier(AEGP_MaskRefH maskH, A_Boolean* is_roto_bezierPB) {
    return AegpCall("AEGP_GetMaskIsRotoBezier", [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, "AEGP_GetMaskIsRotoBezier", {is_roto_bezierPB})) return err;
        const auto* mask = host.references().Find<MaskRefRecord>(maskH, kMaskRefKind, "AEGP_GetMaskIsRotoBezier");
        if (!mask) return PF_Err_BAD_CALLBACK_PARAM;
        *is_roto_bezierPB = mask->mask->roto_bezier;
        return PF_Err_NONE;
    });
}

// The outline behind a handle, for the function `call` with its result
// pointer `out`.
template <class Action>
A_Err OnOutline(const char* call, AEGP_MaskOutlineValH outlineH, const void* out, Action&& action) {
    return AegpCall(call, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, call, {out})) return err;
        auto* record = host.references().Find<OutlineRecord>(outlineH, kStreamValueKind, call);
        return record ? action(record->outline) : PF_Err_BAD_CALLBACK_PARAM;
    });
}

// An outline without vertices counts as closed, so that its 0 segments
// imply no vertex.
A_Err IsMaskOutlineOpen(AEGP_MaskOutlineValH outlineH, A_Boolean* openPB) {
    return OnOutline("AEGP_IsMaskOutlineOpen", outlineH, openPB, [&](const project::MaskOutline& outline) {
        *openPB = outline.open && !outline.vertices.empty();
        return PF_Err_NONE;
    });
}

A_Err GetMaskOutlineNumSegments(AEGP_MaskOutlineValH outlineH, A_long* num_segmentsPL) {
    return OnOutline("AEGP_GetMaskOutlineNumSegments", outlineH, num_segmentsPL,
                     [&](const project::MaskOutline& outline) {
                         *num_segmentsPL = project::NumSegments(outline);
                         return PF_Err_NONE;
                     });
}

bool HasVertex(const project::MaskOutline& outline, AEGP_VertexIndex index) {
    return index >= 0 && static_cast<std::size_t>(index) < outline.vertices.size();
}

A_Err GetMaskOutlineVertexInfo(AEGP_MaskOutlineValH outlineH, AEGP_VertexIndex index, AEGP_MaskVertex* vertexP) {
    return OnOutline("AEGP_GetMaskOutlineVertexInfo", outlineH, vertexP, [&](const project::MaskOutline& outline) {
        if (!HasVertex(outline, index)) return PF_Err_INVALID_INDEX;
        *vertexP = outline.vertices[static_cast<std::size_t>(index)];
        return PF_Err_NONE;
    });
}

A_Err SetMaskOutlineVertexInfo(AEGP_MaskOutlineValH outlineH, AEGP_VertexIndex index,
                               const AEGP_MaskVertex* vertexP) {
    return OnOutline("AEGP_SetMaskOutlineVertexInfo", outlineH, vertexP, [&](project::MaskOutline& outline) {
        if (!HasVertex(outline, index)) return PF_Err_INVALID_INDEX;
        outline.vertices[static_cast<std::size_t>(index)] = *vertexP;
        return PF_Err_NONE;
    });
}

}  // namespace

const AEGP_LayerMaskSuite5& LayerMaskSuite() {
    static const AEGP_LayerMaskSuite5 suite{GetLayerNumMasks, GetLayerMaskByIndex, DisposeMask,
                                            GetMaskIsRotoBezier};
    return suite;
}

const AEGP_MaskOutlineSuite3& MaskOutlineSuite() {
    static const AEGP_MaskOutlineSuite3 suite{IsMaskOutlineOpen, GetMaskOutlineNumSegments,
                                              GetMaskOutlineVertexInfo, SetMaskOutlineVertexInfo};
    return suite;
}

}  // namespace knotwell::host
