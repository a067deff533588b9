// What the AEGP suites share: the door every function enters by, the
// records behind the references they hand out, and the checks of what a
// plug-in passes in. A refused argument is a recorded fault and an error
// code, never a crash.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frame/host/aegp_suites.h"
#include "headless_host/driving/effect_instance.h"
#include "headless_host/evaluation/project.h"
#include "headless_host/host.h"

namespace knotwell::host {

struct EffectRefRecord {
    EffectInstance* instance;
};

struct MaskRefRecord {
    project::Layer* layer;
    project::Mask* mask;
};

// Behind an AEGP_MaskOutlineValH: the host's own copy of an outline, made
// by AEGP_GetNewStreamValue and released with the value.
struct OutlineRecord {
    project::MaskOutline outline;
};

struct KeyframeBatch {
    StreamTarget target;
    // Keys in the order added, each with its value once one was given.
    std::vector<std::pair<project::Ticks, std::optional<project::StreamValue>>> keys;
};

// The call guard, then the action; a failure the fault plan injects is
// returned without running it, except by a give-back, which still runs.
template <class Action>
A_Err AegpCall(const char* name, Action&& action, CallKind kind = CallKind::kUse) {
    Host& host = Host::Active();
    const CallVerdict verdict = host.calls().Enter(name);
    if (verdict.Skips(kind)) return verdict.error;
    return verdict.Over(action(host));
}

// An AEGP dispose call: gives back a reference of `kind`, also when the
// fault plan fails the call.
A_Err DisposeReference(const char* call, const void* ref, std::string_view kind);

// Records "call: reason" and gives the error for a refused argument.
A_Err Refuse(Host& host, const char* call, const std::string& reason);

// PF_Err_NONE when every pointer is set and the plug-in id, when the call
// takes one, was handed out by AEGP_RegisterWithAEGP; else a refusal.
A_Err CheckArgs(Host& host, const char* call, std::initializer_list<const void*> pointers,
                std::optional<AEGP_PluginID> plugin_id = std::nullopt);

// The layer behind an AEGP_LayerH, or null with a recorded fault.
project::Layer* FindLayer(Host& host, AEGP_LayerH layer, const char* call);

AEGP_EffectRefH NewEffectRef(Host& host, EffectInstance& instance, const char* call);

// An A_Time in layer time and the composition's time_scale, or none.
std::optional<project::Ticks> LayerTicks(Host& host, const project::Layer& layer, AEGP_LTimeMode mode,
                                         const A_Time& time);

// Fills `value` with a new value of the stream: for an outline, a new
// host-owned copy in val.mask; open in the ledger until disposed.
void HandOutValue(Host& host, AEGP_StreamRefH stream, const project::StreamValue& value,
                  const char* call, AEGP_StreamValue2* out);

// The project value a plug-in passes for a stream (for an outline stream,
// the outline behind val.mask), or none with a recorded fault.
std::optional<project::StreamValue> ValueFor(Host& host, const StreamTarget& target,
                                             const AEGP_StreamValue2& value, const char* call);

inline bool IsOutline(const StreamTarget& target) {
    return std::holds_alternative<project::MaskOutline>(target.stream->ValueAt(0));
}

}  // namespace knotwell::host
