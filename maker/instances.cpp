#include "maker/instances.h"

#include "baker/params.h"
#include "frame/param_setup.h"
#include "frame/param_write.h"
#include "vertex_editor/geometry.h"
#include "vertex_editor/params.h"

namespace knotwell {
namespace {

// The tangent form and "Symmetric" are set before the values they govern.
constexpr PF_ParamIndex kKnotwellSetOrder[] = {
    kKnotwellCoordinate,   kKnotwellSymmetric,   kKnotwellIndex,        kKnotwellNo,
    kKnotwellPoint,        kKnotwellTanIn,       kKnotwellTanOut,       kKnotwellTanInRadius,
    kKnotwellTanInAngle,   kKnotwellTanOutRadius, kKnotwellTanOutAngle, kKnotwellOn,
};

// Applies an effect, lets `set_up` write its controls, and gives the
// reference back; the instance stays on the layer whatever happened.
template <class SetUp>
PF_Err ApplyEffect(const ActionContext& action, AEGP_InstalledEffectKey key, SetUp set_up) {
    EffectRef instance(action.suites.EffectSuite2()->AEGP_DisposeEffect);
    PF_Err err = action.suites.EffectSuite3()->AEGP_ApplyEffect(action.plugin_id, action.layer, key,
                                                               instance.out());
    if (!err) err = set_up(instance.get());
    KeepFirst(err, instance.Release());
    return err;
}

}  // namespace

PF_Err ApplyVertexInstance(const ActionContext& action, AEGP_InstalledEffectKey knotwell,
                           A_long mask_index, A_long vertex_number, AEGP_MaskOutlineValH outline) {
    return ApplyEffect(action, knotwell, [&](AEGP_EffectRefH instance) {
        AEGP_MaskVertex vertex{};
        const PF_Err err = action.suites.MaskOutlineSuite()->AEGP_GetMaskOutlineVertexInfo(
            outline, vertex_number, &vertex);
        if (err) return err;
        // Both tangent forms are written, so switching "Coordinate" later
        // keeps the vertex where it is.
        const GeometryControls c = ControlsFromVertex(vertex);
        const ParamWrite writes[] = {
            {kKnotwellIndex, static_cast<double>(mask_index)},
            {kKnotwellNo, static_cast<double>(vertex_number)},
            {kKnotwellPoint, c.point.x, c.point.y, true},
            {kKnotwellCoordinate, kKnotwellCartesian},
            {kKnotwellTanIn, c.tan_in.x, c.tan_in.y, true},
            {kKnotwellTanOut, c.tan_out.x, c.tan_out.y, true},
            {kKnotwellTanInRadius, c.in.radius},
            {kKnotwellTanInAngle, c.in.degrees},
            {kKnotwellTanOutRadius, c.out.radius},
            {kKnotwellTanOutAngle, c.out.degrees},
            {kKnotwellSymmetric, 0.0},
            {kKnotwellOn, 1.0},
        };
        return WriteParams(action.suites, action.plugin_id, instance, action.now, writes,
                           kKnotwellSetOrder);
    });
}

PF_Err ApplyBakerInstance(const ActionContext& action, AEGP_InstalledEffectKey baker,
                          const MakerPreRenderData& d) {
    return ApplyEffect(action, baker, [&](AEGP_EffectRefH instance) {
        const ParamWrite writes[] = {
            {kBakerIndex, d.all ? 0.0 : static_cast<double>(d.index)},
            {kBakerAll, d.all ? 1.0 : 0.0},
            {kBakerBake, kActionIdle},
        };
        return WriteParams(action.suites, action.plugin_id, instance, action.now, writes);
    });
}

}  // namespace knotwell
