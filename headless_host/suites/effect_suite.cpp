// "AEGP Effect Suite" (3 and 2, one table): a layer's effects, applying a
// new one, their active flags, and the installed effects: the loaded
// libraries, keyed 1, 2, ... in load order, named by their property lists.
#include <cstring>

#include "headless_host/driving/effect_type.h"
#include "headless_host/suites/aegp_suites.h"
#include "headless_host/suites/aegp_support.h"

namespace knotwell::host {

namespace {

constexpr std::size_t kNameSize = AEGP_MAX_EFFECT_NAME_SIZE;

EffectRefRecord* FindEffect(Host& host, AEGP_EffectRefH effectH, const char* call) {
    return host.references().Find<EffectRefRecord>(effectH, kEffectRefKind, call);
}

A_Err GetLayerNumEffects(AEGP_LayerH layerH, A_long* num_effectsPL) {
    constexpr const char* kCall = "AEGP_GetLayerNumEffects";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {num_effectsPL})) return err;
        const project::Layer* layer = FindLayer(host, layerH, kCall);
        if (!layer) return PF_Err_BAD_CALLBACK_PARAM;
        *num_effectsPL = static_cast<A_long>(layer->effects.size());
        return PF_Err_NONE;
    });
}

A_Err GetLayerEffectByIndex(AEGP_PluginID plugin_id, AEGP_LayerH layerH, AEGP_EffectIndex index,
                            AEGP_EffectRefH* effectPH) {
    constexpr const char* kCall = "AEGP_GetLayerEffectByIndex";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {effectPH}, plugin_id)) return err;
        project::Layer* layer = FindLayer(host, layerH, kCall);
        if (!layer) return PF_Err_BAD_CALLBACK_PARAM;
        if (index < 0 || static_cast<std::size_t>(index) >= layer->effects.size()) return PF_Err_INVALID_INDEX;
        EffectInstance* instance = host.project().InstanceOf(layer->effects[static_cast<std::size_t>(index)]);
        if (!instance) return Refuse(host, kCall, "the effect has been set down");
        *effectPH = NewEffectRef(host, *instance, kCall);
        return PF_Err_NONE;
    });
}

A_Err GetInstalledKeyFromLayerEffect(AEGP_EffectRefH effectH, AEGP_InstalledEffectKey* keyP) {
    constexpr const char* kCall = "AEGP_GetInstalledKeyFromLayerEffect";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {keyP})) return err;
        const EffectRefRecord* effect = FindEffect(host, effectH, kCall);
        if (!effect) return PF_Err_BAD_CALLBACK_PARAM;
        *keyP = effect->instance->effect().key;
        return PF_Err_NONE;
    });
}

A_Err DisposeEffect(AEGP_EffectRefH effectH) {
    return DisposeReference("AEGP_DisposeEffect", effectH, kEffectRefKind);
}

A_Err ApplyEffect(AEGP_PluginID plugin_id, AEGP_LayerH layerH, AEGP_InstalledEffectKey key,
                  AEGP_EffectRefH* effectPH) {
    constexpr const char* kCall = "AEGP_ApplyEffect";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {effectPH}, plugin_id)) return err;
        project::Layer* layer = FindLayer(host, layerH, kCall);
        if (!layer) return PF_Err_BAD_CALLBACK_PARAM;
        EffectType* type = host.TypeOfKey(key);
        if (!type) return Refuse(host, kCall, "no installed effect has the key " + std::to_string(key));
        try {
            EffectInstance& instance = type->NewInstance(*layer);
            host.project().NoteChange();
            // The setup's error is the call's.
            if (const A_Err failed = type->WithdrawIfSetupFailed(instance)) return failed;
            *effectPH = NewEffectRef(host, instance, kCall);
        } catch (const std::runtime_error& failed) {
            return Refuse(host, kCall, failed.what());
        }
        return PF_Err_NONE;
    });
}

A_Err GetNumInstalledEffects(A_long* countPL) {
    constexpr const char* kCall = "AEGP_GetNumInstalledEffects";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {countPL})) return err;
        *countPL = host.NumInstalledEffects();
        return PF_Err_NONE;
    });
}

// Key 0 starts the list; after the last key comes AEGP_InstalledEffectKey_NONE.
A_Err GetNextInstalledEffect(AEGP_InstalledEffectKey key, AEGP_InstalledEffectKey* nextPH) {
    constexpr const char* kCall = "AEGP_GetNextInstalledEffect";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {nextPH})) return err;
        if (key != AEGP_InstalledEffectKey_NONE && !host.TypeOfKey(key)) {
            return Refuse(host, kCall, "no installed effect has the key " + std::to_string(key));
        }
        *nextPH = key < host.NumInstalledEffects() ? key + 1 : AEGP_InstalledEffectKey_NONE;
        return PF_Err_NONE;
    });
}

A_Err GetEffectName(AEGP_InstalledEffectKey key, A_char* nameZ) {
    constexpr const char* kCall = "AEGP_GetEffectName";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {nameZ})) return err;
        const EffectType* type = host.TypeOfKey(key);
        if (!type) return Refuse(host, kCall, "no installed effect has the key " + std::to_string(key));
        if (!host.Fits(nameZ, kNameSize)) return Refuse(host, kCall, "the name buffer is shorter than 256 bytes");
        const std::string& name = type->display_name();
        const std::size_t length = std::min(name.size(), kNameSize - 1);
        std::memcpy(nameZ, name.data(), length);
        nameZ[length] = '\0';
        return PF_Err_NONE;
    });
}

A_Err GetEffectFlags(AEGP_EffectRefH effectH, AEGP_EffectFlags* flagsP) {
    constexpr const char* kCall = "AEGP_GetEffectFlags";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {flagsP})) return err;
        const EffectRefRecord* effect = FindEffect(host, effectH, kCall);
        if (!effect) return PF_Err_BAD_CALLBACK_PARAM;
        *flagsP = effect->instance->effect().flags;
        return PF_Err_NONE;
    });
}

A_Err SetEffectFlags(AEGP_EffectRefH effectH, AEGP_EffectFlags mask, AEGP_EffectFlags flags) {
    constexpr const char* kCall = "AEGP_SetEffectFlags";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        const EffectRefRecord* effect = FindEffect(host, effectH, kCall);
        if (!effect) return PF_Err_BAD_CALLBACK_PARAM;
        AEGP_EffectFlags& kept = effect->instance->effect().flags;
        const AEGP_EffectFlags changed = (kept & ~mask) | (flags & mask);
        if (changed != kept) {
            kept = changed;
            host.project().NoteChange();
        }
        return PF_Err_NONE;
    });
}

}  // namespace

const AEGP_EffectSuite& EffectSuite() {
    static const AEGP_EffectSuite suite{GetLayerNumEffects,     GetLayerEffectByIndex, GetInstalledKeyFromLayerEffect,
                                        DisposeEffect,          ApplyEffect,           GetNumInstalledEffects,
                                        GetNextInstalledEffect, GetEffectName,         GetEffectFlags,
                                        SetEffectFlags};
    return suite;
}

}  // namespace knotwell::host
