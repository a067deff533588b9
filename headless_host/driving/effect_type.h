// EffectType: one loaded plug-in library as the host drives it: its global
// data, its AEGP plug-in id, global setup once and global setdown at the
// end, and the instances made from it.
#pragma once

#include <list>
#include <memory>
#include <string>

#include "frame/host/aegp_suites.h"
#include "headless_host/driving/effect_instance.h"
#include "headless_host/driving/reply.h"
#include "headless_host/loading/plugin_library.h"

namespace knotwell::host {

class Host;

class EffectType {
public:
    EffectType(Host& host, std::unique_ptr<PluginLibrary> library);
    ~EffectType();
    EffectType(const EffectType&) = delete;
    EffectType& operator=(const EffectType&) = delete;

    const PluginLibrary& library() const { return *library_; }
    Generation generation() const { return library_->generation(); }
    const std::string& display_name() const { return library_->properties().display_name; }

    // The id handed out by AEGP_RegisterWithAEGP (0 before), and the name
    // the library registered under.
    AEGP_PluginID plugin_id() const { return plugin_id_; }
    const std::string& registered_name() const { return registered_name_; }
    AEGP_PluginID Register(const char* name);

    PF_Handle global_data() const { return global_data_; }
    bool is_set_up() const { return set_up_; }

    Reply About();
    // Sent once; later calls send nothing and return the first reply.
    Reply GlobalSetup();
    // Sends GLOBAL_SETDOWN after setting down every instance. The legacy
    // generation does not answer it; the host then releases the global
    // block itself, as it does when it unloads such a library.
    Reply GlobalSetdown();

    // Global setup if not done (std::runtime_error when it fails), then a
    // new effect record after the layer's others, PARAMS_SETUP and
    // SEQUENCE_SETUP; their replies are in the instance's setup_replies().
    EffectInstance& NewInstance(project::Layer& layer);
    // On the project's default layer.
    EffectInstance& NewInstance();
    // SEQUENCE_SETDOWN, then the instance is gone.
    Reply DeleteInstance(EffectInstance& instance);
    // An effect whose parameter or sequence setup failed is not applied, as
    // the plug-in's handlers rely on every parameter it declares: the new
    // instance is set down and its record leaves the layer. Returns that
    // setup's error, or PF_Err_NONE when the instance stays.
    PF_Err WithdrawIfSetupFailed(EffectInstance& instance);
    const std::list<EffectInstance>& instances() const { return instances_; }

    // Any command, with the records the host would pass. `instance` null
    // for the commands of the library as a whole.
    Reply Send(PF_Cmd cmd, void* extra, EffectInstance* instance = nullptr);

private:
    Host& host_;
    std::unique_ptr<PluginLibrary> library_;
    AEGP_PluginID plugin_id_ = 0;
    std::string registered_name_;
    PF_Handle global_data_ = nullptr;
    bool set_up_ = false;
    Reply setup_reply_;
    std::list<EffectInstance> instances_;
};

}  // namespace knotwell::host
