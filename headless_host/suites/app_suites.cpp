// "AEGP Utility Suite" 7 (registration with the AEGP layer) and "PF AE Adv
// App Suite" 2 (the Info panel).
#include "headless_host/driving/effect_type.h"
#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {

namespace {

// Each library gets its own id, the same one however often it registers.
A_Err RegisterWithAEGP(AEGP_GlobalRefcon, const A_char* plugin_name, AEGP_PluginID* plugin_id) {
    Host& host = Host::Active();
    const CallVerdict verdict = host.calls().Enter("AEGP_RegisterWithAEGP");
    if (verdict.error != PF_Err_NONE) return verdict.error;
    const Command* command = host.CurrentCommand();
    if (!command || !plugin_name || !plugin_id) return PF_Err_BAD_CALLBACK_PARAM;
    *plugin_id = command->type->Register(plugin_name);
    return PF_Err_NONE;
}

PF_Err InfoDrawText(const A_char* line1, const A_char* line2) {
    Host& host = Host::Active();
    const CallVerdict verdict = host.calls().Enter("PF_InfoDrawText");
    if (verdict.error != PF_Err_NONE) return verdict.error;
    const Command* command = host.CurrentCommand();
    host.RecordInfo({line1 ? line1 : "", line2 ? line2 : "",
                     command ? command->type->display_name() : std::string()});
    return PF_Err_NONE;
}

}  // namespace

const AEGP_UtilitySuite7& UtilitySuite() {
    static const AEGP_UtilitySuite7 suite{RegisterWithAEGP};
    return suite;
}

const PF_AdvAppSuite2& AdvAppSuite() {
    static const PF_AdvAppSuite2 suite{InfoDrawText};
    return suite;
}

}  // namespace knotwell::host
