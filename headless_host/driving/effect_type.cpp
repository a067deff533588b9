#include "headless_host/driving/effect_type.h"

#include <stdexcept>

#include "headless_host/driving/callbacks.h"
#include "headless_host/evaluation/project.h"
#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {

namespace {

// Pushes the command for the callbacks it makes, and pops it on every way out.
class CommandScope {
public:
    CommandScope(Host& host, const Command& command) : host_(host) { host_.PushCommand(command); }
    ~CommandScope() { host_.PopCommand(); }
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;

private:
    Host& host_;
};

}  // namespace

EffectType::EffectType(Host& host, std::unique_ptr<PluginLibrary> library)
    : host_(host), library_(std::move(library)) {}

EffectType::~EffectType() = default;

AEGP_PluginID EffectType::Register(const char* name) {
    if (plugin_id_ == 0) plugin_id_ = host_.NextPluginId();
    registered_name_ = name;
    return plugin_id_;
}

Reply EffectType::About() { return Send(PF_Cmd_ABOUT, nullptr); }

Reply EffectType::GlobalSetup() {
    if (!set_up_) {
        setup_reply_ = Send(PF_Cmd_GLOBAL_SETUP, nullptr);
        set_up_ = true;
    }
    return setup_reply_;
}

Reply EffectType::GlobalSetdown() {
    while (!instances_.empty()) DeleteInstance(instances_.front());
    if (!set_up_) return {};
    const Reply reply = Send(PF_Cmd_GLOBAL_SETDOWN, nullptr);
    // The legacy plug-ins never release their global block: the host does,
    // at unload. A current plug-in's block still alive here is its leak.
    if (generation() == Generation::kLegacy && host_.handles().IsAlive(global_data_)) {
        host_.handles().Dispose(global_data_, "unload");
    }
    global_data_ = nullptr;
    set_up_ = false;
    return reply;
}

EffectInstance& EffectType::NewInstance(project::Layer& layer) {
    if (GlobalSetup().err != PF_Err_NONE) {
        throw std::runtime_error(display_name() + ": global setup failed with " +
                                 std::to_string(setup_reply_.err));
    }
    project::Effect& effect = layer.effects.emplace_back();
    effect.name = display_name();
    effect.key = host_.KeyOf(*this);
    EffectInstance& instance = instances_.emplace_back(host_, *this, host_.NextSerial(), layer, effect);
    instance.SetUp();
    return instance;
}

EffectInstance& EffectType::NewInstance() { return NewInstance(host_.project().DefaultLayer()); }

Reply EffectType::DeleteInstance(EffectInstance& instance) {
    const Reply reply = instance.Send(PF_Cmd_SEQUENCE_SETDOWN);
    instances_.remove_if([&](const EffectInstance& kept) { return &kept == &instance; });
    return reply;
}

PF_Err EffectType::WithdrawIfSetupFailed(EffectInstance& instance) {
    for (const Reply& setup : instance.setup_replies()) {
        if (setup.err == PF_Err_NONE) continue;
        const PF_Err failed = setup.err;
        project::Layer& layer = instance.layer();
        DeleteInstance(instance);
        layer.effects.pop_back();
        return failed;
    }
    return PF_Err_NONE;
}

Reply EffectType::Send(PF_Cmd cmd, void* extra, EffectInstance* instance) {
    const InDataSettings settings = instance ? instance->settings() : InDataSettings{};
    const InterfaceVersion version = VersionOf(generation());

    PF_InData in{};
    in.inter = InteractCallbacks();
    in.utils = &UtilCallbacks();
    in.effect_ref = instance ? instance->effect_ref() : nullptr;
    in.version_major = version.major;
    in.version_minor = version.minor;
    in.current_time = settings.current_time;
    in.time_step = settings.time_step;
    in.total_time = settings.total_time;
    in.time_scale = settings.time_scale;
    in.downsample_x = settings.downsample_x;
    in.downsample_y = settings.downsample_y;
    in.pixel_aspect_ratio = {1, 1};
    in.global_data = global_data_;
    in.pica_basicP = host_.faults().no_basic_suite ? nullptr : &BasicSuite();

    std::vector<PF_ParamDef> values;
    PF_LayerDef* output = nullptr;
    if (instance) {
        in.width = instance->input().effect_world().width;
        in.height = instance->input().effect_world().height;
        in.sequence_data = instance->sequence_data();
        values = instance->ParamValues();
        output = instance->OutputWorld().get();
    }
    std::vector<PF_ParamDef*> params;
    for (PF_ParamDef& value : values) params.push_back(&value);
    in.num_params = static_cast<A_long>(params.size());

    Reply reply;
    const long first_call = host_.calls().total() + 1;
    host_.CommandStarting(first_call);
    {
        CommandScope scope(host_, {cmd, this, instance, &reply.out});
        try {
            reply.err = library_->entry_point()(cmd, &in, &reply.out, params.data(), output, extra);
        } catch (...) {
            host_.ledger().RecordFault("EntryPointFunc: an exception left command " + std::to_string(cmd));
            reply.err = PF_Err_INTERNAL_STRUCT_DAMAGED;
        }
    }
    host_.RecordCommand({cmd, display_name(), first_call, host_.calls().total(), reply.err});
    if (!reply.return_msg().empty()) {
        host_.RecordMessage({cmd, std::string(reply.return_msg()), reply.shows_error(), display_name(),
                             in.current_time});
    }

    // Take over the records the plug-in installed.
    switch (cmd) {
        case PF_Cmd_GLOBAL_SETUP:
            global_data_ = reply.out.global_data;
            break;
        case PF_Cmd_PARAMS_SETUP:
            // A failed setup leaves num_params unset.
            if (instance && reply.err == PF_Err_NONE) instance->CheckParamCount(reply.out.num_params);
            break;
        case PF_Cmd_SEQUENCE_SETUP:
        case PF_Cmd_SEQUENCE_RESETUP:
            if (instance) instance->set_sequence_data(reply.out.sequence_data);
            break;
        case PF_Cmd_SEQUENCE_SETDOWN:
            if (instance) instance->set_sequence_data(nullptr);
            break;
        default:
            if (instance && reply.out.sequence_data) instance->set_sequence_data(reply.out.sequence_data);
    }
    return reply;
}

}  // namespace knotwell::host
