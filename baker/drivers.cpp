#include "baker/drivers.h"

#include <array>
#include <cmath>

#include "frame/param_values.h"
#include "vertex_editor/params.h"

namespace knotwell {
namespace {

// The controls a driver's vertex is made of, in the order their streams
// are obtained.
constexpr PF_ParamIndex kGeometry[] = {
    kKnotwellPoint,       kKnotwellCoordinate,  kKnotwellTanIn,
    kKnotwellTanOut,      kKnotwellTanInRadius, kKnotwellTanInAngle,
    kKnotwellTanOutRadius, kKnotwellTanOutAngle, kKnotwellSymmetric,
};

// An active Knotwell instance: when its raw "Index" names the mask and its
// "ON" box is set, it drives the vertex its raw "No" names.
PF_Err ConsiderInstance(const ActionContext& action, AEGP_EffectRefH instance, A_long mask_index,
                        AEGP_EffectIndex effect_index, DriverTable& drivers, bool* found) {
    // Expressions on these three are not looked at: the raw values decide
    // which vertex an instance drives.
    constexpr bool kPreExpression = true;
    constexpr PF_ParamIndex kChoice[] = {kKnotwellIndex, kKnotwellOn};
    constexpr PF_ParamIndex kVertex[] = {kKnotwellNo};
    std::array<AEGP_StreamVal2, kKnotwellParamCount> raw{};
    PF_Err err = ReadParams(action.suites, action.plugin_id, instance, action.now, kPreExpression,
                            kChoice, raw);
    if (err || raw[kKnotwellIndex].one_d != mask_index || raw[kKnotwellOn].one_d == 0.0) return err;
    err = ReadParams(action.suites, action.plugin_id, instance, action.now, kPreExpression, kVertex,
                     raw);
    if (err) return err;

    const double vertex = std::trunc(raw[kKnotwellNo].one_d + 0.5);
    // An instance naming a vertex the mask does not have drives nothing and
    // is left switched on.
    if (vertex >= 0.0 && vertex < static_cast<double>(drivers.size())) {
        drivers[static_cast<std::size_t>(vertex)].effect_index = effect_index;
        *found = true;
    }
    return PF_Err_NONE;
}

PF_Err ScanEffect(const ActionContext& action, AEGP_InstalledEffectKey knotwell, A_long mask_index,
                  AEGP_EffectIndex effect_index, DriverTable& drivers, bool* found) {
    const AEGP_EffectSuite* effects = action.suites.EffectSuite3();
    EffectRef effect(effects->AEGP_DisposeEffect);
    AEGP_EffectFlags flags = AEGP_EffectFlags_NONE;
    PF_Err err = effects->AEGP_GetLayerEffectByIndex(action.plugin_id, action.layer, effect_index,
                                                     effect.out());
    if (!err) err = effects->AEGP_GetEffectFlags(effect.get(), &flags);
    if (!err && (flags & AEGP_EffectFlags_ACTIVE)) {
        // An effect whose key cannot be read is not taken for an instance.
        AEGP_InstalledEffectKey key = AEGP_InstalledEffectKey_NONE;
        if (effects->AEGP_GetInstalledKeyFromLayerEffect(effect.get(), &key)) {
            key = AEGP_InstalledEffectKey_NONE;
        }
        if (key == knotwell) {
            err = ConsiderInstance(action, effect.get(), mask_index, effect_index, drivers, found);
        }
    }
    KeepFirst(err, effect.Release());
    return err;
}

}  // namespace

DriverTable MakeDriverTable(const ActionContext& action, A_long vertex_count) {
    const EffectRef::Dispose dispose = action.suites.EffectSuite3()->AEGP_DisposeEffect;
    const AEGP_StreamSuite* streams = action.suites.StreamSuite();
    DriverTable drivers;
    if (vertex_count <= 0) return drivers;
    drivers.reserve(static_cast<std::size_t>(vertex_count));
    for (A_long v = 0; v < vertex_count; ++v) drivers.emplace_back(dispose, streams);
    return drivers;
}

PF_Err FindDrivers(const ActionContext& action, AEGP_InstalledEffectKey knotwell,
                   A_long mask_index, DriverTable& drivers, bool* found) {
    *found = false;
    A_long effect_count = 0;
    PF_Err err = action.suites.EffectSuite3()->AEGP_GetLayerNumEffects(action.layer, &effect_count);
    for (AEGP_EffectIndex l = 0; !err && l < effect_count; ++l) {
        err = ScanEffect(action, knotwell, mask_index, l, drivers, found);
    }
    return err;
}

PF_Err ReferToDrivers(const ActionContext& action, DriverTable& drivers) {
    const AEGP_EffectSuite* effects = action.suites.EffectSuite3();
    PF_Err err = PF_Err_NONE;
    for (std::size_t v = 0; v < drivers.size() && !err; ++v) {
        Driver& driver = drivers[v];
        if (driver.effect_index < 0) continue;
        err = effects->AEGP_GetLayerEffectByIndex(action.plugin_id, action.layer, driver.effect_index,
                                                  driver.ref.out());
        if (!err) err = driver.geometry.GetStreams(action.plugin_id, driver.ref.get(), kGeometry);
    }
    return err;
}

PF_Err SwitchOffDrivers(const ActionContext& action, DriverTable& drivers, PF_Err err) {
    const AEGP_EffectSuite* effects = action.suites.EffectSuite3();
    for (Driver& driver : drivers) {
        KeepFirst(err, driver.geometry.Release());
        if (!driver.ref) continue;
        AEGP_EffectFlags flags = AEGP_EffectFlags_NONE;
        if (!err) err = effects->AEGP_GetEffectFlags(driver.ref.get(), &flags);
        if (!err) {
            err = effects->AEGP_SetEffectFlags(driver.ref.get(), AEGP_EffectFlags_ACTIVE,
                                               flags & ~AEGP_EffectFlags_ACTIVE);
        }
        KeepFirst(err, driver.ref.Release());
    }
    return err;
}

}  // namespace knotwell
