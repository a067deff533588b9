// Host: the headless stand-in for the parts of After Effects the plug-ins
// use. It loads plug-in libraries, drives them with commands, serves their
// host calls and keeps the ledger of everything it handed out.
//
// The host interface's C callbacks carry no context, so one Host object is
// the active host of the process; only one may exist at a time.
//
//   Host host;
//   EffectType& type = host.Load(path);
//   EffectInstance& instance = type.NewInstance();
//   FrameReply frame = instance.Render(0);
//   host.Shutdown();
//   EXPECT_EQ(host.LeakReport(), "");
//
// The host keeps one project (evaluation/project.h); instances live on its
// layers, and the AEGP suites serve it.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "frame/host/aegp_suites.h"
#include "frame/host/pf_effect.h"
#include "headless_host/core/call_guard.h"
#include "headless_host/core/handle_store.h"
#include "headless_host/core/ledger.h"
#include "headless_host/core/reference_table.h"
#include "headless_host/generation.h"
#include "headless_host/suites/suite_registry.h"

namespace knotwell::host {

class EffectType;
class EffectInstance;
class Project;

// Text a plug-in left in return_msg: an error message the user would see
// (with PF_OutFlag_DISPLAY_ERROR_MESSAGE) or another text (About, notices).
struct Message {
    PF_Cmd cmd;
    std::string text;
    bool is_error;
    std::string effect;  // display name of the effect that answered
    A_long time = 0;     // its current_time
};

// The two lines of one PF_InfoDrawText.
struct InfoText {
    std::string line1;
    std::string line2;
    std::string effect;  // display name of the effect whose command drew them
};

// A command in progress, as the callbacks it makes see it.
struct Command {
    PF_Cmd cmd;
    EffectType* type;
    EffectInstance* instance;  // null for the commands of the library as a whole
    PF_OutData* out;
};

// How one command ended, with the numbers of the host calls made while it
// ran (first_call > last_call: none), so that a failed call can be traced
// to the command that had to answer for it.
struct CommandRecord {
    PF_Cmd cmd;
    std::string effect;  // display name
    long first_call;
    long last_call;
    PF_Err err;
};

class Host {
public:
    // `generation` decides which suites are offered outside a command.
    explicit Host(Generation generation = Generation::kCurrent);
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    static Host& Active();

    // Loads a plug-in library once (later calls with the same path return
    // the same type). Throws std::runtime_error with the reason on failure.
    EffectType& Load(const std::filesystem::path& path);
    // Sets down every instance and every library (GLOBAL_SETDOWN), releases
    // what the host itself owns and unloads. The ledger stays readable.
    void Shutdown();

    Ledger& ledger() { return ledger_; }
    CallGuard& calls() { return calls_; }
    FaultPlan& faults() { return calls_.plan(); }
    HandleStore& handles() { return handles_; }
    SuiteRegistry& suites() { return suites_; }
    Project& project() { return *project_; }
    ReferenceTable& references() { return references_; }
    std::string LeakReport() const { return ledger_.LeakReport(); }

    const std::vector<Message>& messages() const { return messages_; }
    const std::vector<InfoText>& info_panel() const { return info_panel_; }
    // Suites AcquireSuite refused, as "name vN".
    const std::vector<std::string>& refused_suites() const { return refused_suites_; }
    // Expressions that failed while the host evaluated a control, each
    // message naming the layer, effect and control.
    const std::vector<std::string>& expression_errors() const { return expression_errors_; }
    // Every command sent, in the order they ended.
    const std::vector<CommandRecord>& command_log() const { return command_log_; }
    // For tests that look at the project around a command: `started` is
    // called as a command is sent, with the number its first host call
    // will have, and `ended` with its record once it returned.
    struct CommandWatch {
        std::function<void(long first_call)> started;
        std::function<void(const CommandRecord&)> ended;
    };
    void WatchCommands(CommandWatch watch) { command_watch_ = std::move(watch); }

    // --- For the host's own callbacks and drivers. ---
    void RecordMessage(Message message) { messages_.push_back(std::move(message)); }
    void RecordInfo(InfoText text) { info_panel_.push_back(std::move(text)); }
    void RecordRefusedSuite(std::string key) { refused_suites_.push_back(std::move(key)); }
    void RecordExpressionError(std::string message) { expression_errors_.push_back(std::move(message)); }
    void CommandStarting(long first_call) {
        if (command_watch_.started) command_watch_.started(first_call);
    }
    void RecordCommand(CommandRecord record) {
        command_log_.push_back(std::move(record));
        if (command_watch_.ended) command_watch_.ended(command_log_.back());
    }

    // The innermost command in progress, or null between commands.
    const Command* CurrentCommand() const;
    void PushCommand(const Command& command) { commands_.push_back(command); }
    void PopCommand() { commands_.pop_back(); }
    // The generation of the plug-in being called, else the host's own.
    Generation generation() const;

    // Instances by effect_ref; null for a reference this host never gave.
    EffectInstance* InstanceOf(PF_ProgPtr effect_ref) const;
    void AddInstance(EffectInstance& instance);
    void RemoveInstance(EffectInstance& instance);

    // Installed effects: the loaded libraries, keyed 1, 2, ... in load order.
    A_long NumInstalledEffects() const { return static_cast<A_long>(types_.size()); }
    EffectType* TypeOfKey(AEGP_InstalledEffectKey key) const;
    AEGP_InstalledEffectKey KeyOf(const EffectType& type) const;
    // The first loaded type with that display name, or null.
    EffectType* TypeNamed(std::string_view display_name) const;

    AEGP_PluginID NextPluginId() { return next_plugin_id_++; }
    // Whether `plugin_id` was handed out by AEGP_RegisterWithAEGP.
    bool IsPluginId(AEGP_PluginID plugin_id) const {
        return plugin_id > 0 && plugin_id < next_plugin_id_;
    }
    A_long NextSerial() { return next_serial_++; }

    // Whether `bytes` can be written or read at `address`: false only when
    // the address lies in a host block that is shorter than that.
    bool Fits(const void* address, std::size_t bytes) const;
    // Room for a text at `address`: the current command's return_msg, or
    // the rest of a host block; 0 when unknown.
    std::size_t TextRoomAt(const void* address) const;

private:
    Ledger ledger_;
    CallGuard calls_;
    HandleStore handles_{ledger_};
    SuiteRegistry suites_;
    ReferenceTable references_{ledger_};
    Generation generation_;
    // Before the types: their instances refer to its layers.
    std::unique_ptr<Project> project_;
    std::vector<std::unique_ptr<EffectType>> types_;
    std::map<PF_ProgPtr, EffectInstance*> instances_;
    std::vector<Command> commands_;
    std::vector<Message> messages_;
    std::vector<InfoText> info_panel_;
    std::vector<std::string> refused_suites_;
    std::vector<std::string> expression_errors_;
    std::vector<CommandRecord> command_log_;
    CommandWatch command_watch_;
    AEGP_PluginID next_plugin_id_ = 1;
    A_long next_serial_ = 1;
};

}  // namespace knotwell::host
