#include "baker/bake.h"

#include <optional>

#include "baker/drivers.h"
#include "baker/params.h"
#include "baker/sampling.h"
#include "frame/installed_effect.h"
#include "frame/mask_outline.h"
#include "frame/param_setup.h"

namespace knotwell {
namespace {

PF_Err BakeMask(const ActionContext& action, AEGP_InstalledEffectKey knotwell, A_long mask_index) {
    OpenedMask opened(action.suites);
    A_Boolean roto_bezier = false;

    PF_Err err = WriteOwnParam(action, kBakerBake, kActionIdle);
    if (!err) err = OpenMask(action, mask_index, opened);
    if (!err) err = action.suites.LayerMaskSuite()->AEGP_GetMaskIsRotoBezier(opened.mask.get(), &roto_bezier);
    // The outline was needed only for its vertex count; each key is sampled
    // from the stream.
    KeepFirst(err, opened.outline.Release());

    DriverTable drivers = MakeDriverTable(action, err ? 0 : opened.vertex_count);
    bool driven = false;
    if (!err) err = FindDrivers(action, knotwell, mask_index, drivers, &driven);
    if (!err && driven) err = ReferToDrivers(action, drivers);
    if (!err && driven) err = SampleMask(action, opened.stream.get(), drivers, roto_bezier != 0);
    KeepFirst(err, opened.Release());
    // After a failed sampling the instances stay on, so the mask still
    // follows them live.
    return SwitchOffDrivers(action, drivers, err);
}

}  // namespace

PF_Err Bake(const ActionContext& action, const BakerPreRenderData& d, A_long mask_count,
            PF_OutData* out_data) {
    SuiteHandler& suites = action.suites;
    // Sampling counts up from 0 in steps of time_step towards the layer's
    // duration: without a positive step or a duration it would write no key
    // or never end. Refused before anything is written, so the project
    // stays as it is.
    if (action.in_data->time_step <= 0 || action.in_data->total_time <= 0) {
        WriteNotice(suites, out_data, "Nothing to bake: the layer has no frames.");
        return PF_Err_NONE;
    }

    std::optional<A_long> installed_count;
    AEGP_InstalledEffectKey knotwell = AEGP_InstalledEffectKey_NONE;
    PF_Err err = FindInstalledEffect(suites.EffectSuite3(), kKnotwellDisplayName, installed_count,
                                     &knotwell);
    if (err) return err;
    if (knotwell == AEGP_InstalledEffectKey_NONE) {
        // "Bake" stays on "Execute", so the bake runs once Knotwell is there.
        WriteNotice(suites, out_data, "No Knotwell");
        return PF_Err_NONE;
    }

    const A_long first = d.all ? 0 : d.index;
    const A_long end = d.all ? mask_count : d.index + 1;
    for (A_long j = first; j < end && !err; ++j) err = BakeMask(action, knotwell, j);
    return err;
}

}  // namespace knotwell
