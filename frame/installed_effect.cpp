#include "frame/installed_effect.h"

#include <cstring>

namespace knotwell {

PF_Err FindInstalledEffect(const AEGP_EffectSuite* effects, const A_char* display_name,
                           std::optional<A_long>& count, AEGP_InstalledEffectKey* key) {
    *key = AEGP_InstalledEffectKey_NONE;
    AEGP_InstalledEffectKey current = AEGP_InstalledEffectKey_NONE;
    PF_Err err = effects->AEGP_GetNextInstalledEffect(AEGP_InstalledEffectKey_NONE, &current);
    if (!err && !count) {
        A_long installed = 0;
        err = effects->AEGP_GetNumInstalledEffects(&installed);
        if (!err) count = installed;
    }
    for (A_long i = 0; !err && i < count.value_or(0); ++i) {
        A_char name[AEGP_MAX_EFFECT_NAME_SIZE] = {};
        err = effects->AEGP_GetEffectName(current, name);
        if (err) break;
        if (std::strcmp(name, display_name) == 0) {
            *key = current;
            break;
        }
        err = effects->AEGP_GetNextInstalledEffect(current, &current);
    }
    return err;
}

void WriteNotice(SuiteHandler& suites, PF_OutData* out_data, const A_char* text) {
    // A notice that cannot be written changes nothing the action did.
    suites.ANSISuite()->sprintf(out_data->return_msg, text);
}

}  // namespace knotwell
