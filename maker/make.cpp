#include "maker/make.h"

#include <optional>

#include "frame/installed_effect.h"
#include "frame/mask_outline.h"
#include "frame/param_setup.h"
#include "maker/instances.h"
#include "maker/params.h"

namespace knotwell {
namespace {

// Shows which mask was made and its vertex range in the Info panel.
void ShowMaskInfo(const ActionContext& action, A_long mask_index, A_long last_vertex) {
    A_char index_line[32] = {};
    A_char vertex_line[32] = {};
    const PF_ANSICallbacks& ansi = action.in_data->utils->ansi;
    ansi.sprintf(index_line, "Index:%d", static_cast<int>(mask_index));
    ansi.sprintf(vertex_line, "Vertex:0-%d", static_cast<int>(last_vertex));
    // Information only: a panel that cannot show it changes nothing made.
    action.suites.AdvAppSuite()->PF_InfoDrawText(index_line, vertex_line);
}

// One instance per vertex of mask `mask_index`. Takes the running code and
// returns it; the Info panel lines are shown whatever it is, with vertex
// range -1 for a mask that could not be read.
PF_Err MakeMask(const ActionContext& action, AEGP_InstalledEffectKey knotwell, A_long mask_index,
                PF_Err err) {
    OpenedMask opened(action.suites);
    if (!err) err = OpenMask(action, mask_index, opened);
    const A_long last_vertex = opened.vertex_count - 1;
    for (A_long v = 0; !err && v <= last_vertex; ++v) {
        err = ApplyVertexInstance(action, knotwell, mask_index, v, opened.outline.value().val.mask);
    }
    ShowMaskInfo(action, mask_index, last_vertex);

    KeepFirst(err, opened.Release());
    return err;
}

}  // namespace

PF_Err Make(const ActionContext& action, const MakerPreRenderData& d, A_long mask_count,
            PF_OutData* out_data) {
    SuiteHandler& suites = action.suites;
    const AEGP_EffectSuite* effects = suites.EffectSuite3();
    // Both lookups walk the same stretch of the installed list.
    std::optional<A_long> installed_count;
    AEGP_InstalledEffectKey knotwell = AEGP_InstalledEffectKey_NONE;
    AEGP_InstalledEffectKey baker = AEGP_InstalledEffectKey_NONE;

    // A lookup that failed proves nothing missing, so it gives no notice.
    PF_Err err = FindInstalledEffect(effects, kKnotwellDisplayName, installed_count, &knotwell);
    if (!err && knotwell == AEGP_InstalledEffectKey_NONE) WriteNotice(suites, out_data, "No Knotwell");
    if (!err) err = FindInstalledEffect(effects, kBakerDisplayName, installed_count, &baker);
    if (!err && baker == AEGP_InstalledEffectKey_NONE && d.baker) {
        WriteNotice(suites, out_data, "No Knotwell Baker");
    }
    // "Make" stays on "Execute", so the make runs once Knotwell is there.
    if (knotwell == AEGP_InstalledEffectKey_NONE) return err;

    // Put back before anything is applied: the instances' own re-renders
    // must not start a second make.
    if (!err) err = WriteOwnParam(action, kMakerMake, kActionIdle);
    const A_long first = d.all ? 0 : d.index;
    const A_long end = d.all ? mask_count : d.index + 1;
    for (A_long k = first; k < end; ++k) err = MakeMask(action, knotwell, k, err);
    if (!err && baker != AEGP_InstalledEffectKey_NONE && d.baker) {
        err = ApplyBakerInstance(action, baker, d);
    }
    out_data->out_flags |= PF_OutFlag_REFRESH_UI;
    return err;
}

}  // namespace knotwell
