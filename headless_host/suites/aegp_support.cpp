#include "headless_host/suites/aegp_support.h"

#include <cmath>

namespace knotwell::host {

A_Err DisposeReference(const char* call, const void* ref, std::string_view kind) {
    return AegpCall(
        call,
        [&](Host& host) -> A_Err {
            return host.references().Close(ref, kind, call) ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
        },
        CallKind::kGiveBack);
}

A_Err Refuse(Host& host, const char* call, const std::string& reason) {
    host.ledger().RecordFault(std::string(call) + ": " + reason);
    return PF_Err_BAD_CALLBACK_PARAM;
}

A_Err CheckArgs(Host& host, const char* call, std::initializer_list<const void*> pointers,
                std::optional<AEGP_PluginID> plugin_id) {
    for (const void* pointer : pointers) {
        if (!pointer) return Refuse(host, call, "a required pointer is null");
    }
    if (plugin_id && !host.IsPluginId(*plugin_id)) {
        return Refuse(host, call, "plug-in id " + std::to_string(*plugin_id) + " was never handed out");
    }
    return PF_Err_NONE;
}

project::Layer* FindLayer(Host& host, AEGP_LayerH layer, const char* call) {
    auto* found = reinterpret_cast<project::Layer*>(layer);
    if (host.project().Contains(found)) return found;
    Refuse(host, call, "layer " + Ledger::IdOf(layer) + " is no layer of the project");
    return nullptr;
}

AEGP_EffectRefH NewEffectRef(Host& host, EffectInstance& instance, const char* call) {
    return static_cast<AEGP_EffectRefH>(
        host.references().Open(kEffectRefKind, EffectRefRecord{&instance}, call));
}

std::optional<project::Ticks> LayerTicks(Host& host, const project::Layer& layer, AEGP_LTimeMode mode,
                                         const A_Time& time) {
    if (time.scale == 0 || (mode != AEGP_LTimeMode_LayerTime && mode != AEGP_LTimeMode_CompTime)) {
        return std::nullopt;
    }
    const double seconds = static_cast<double>(time.value) / time.scale;
    const auto ticks = static_cast<project::Ticks>(
        std::llround(seconds * host.project().composition().time_scale));
    return mode == AEGP_LTimeMode_LayerTime ? ticks : project::LayerTime(layer, ticks);
}

void HandOutValue(Host& host, AEGP_StreamRefH stream, const project::StreamValue& value,
                  const char* call, AEGP_StreamValue2* out) {
    *out = AEGP_StreamValue2{};
    out->streamH = stream;
    if (const auto* outline = std::get_if<project::MaskOutline>(&value)) {
        out->val.mask = static_cast<AEGP_MaskOutlineValH>(
            host.references().Open(kStreamValueKind, OutlineRecord{*outline}, call));
    } else {
        if (const auto* point = std::get_if<AEGP_TwoDVal>(&value)) {
            out->val.two_d = *point;
        } else {
            out->val.one_d = std::get<double>(value);
        }
        // A number has no handle of its own: it is counted under its stream.
        host.ledger().Open(kStreamValueKind, stream, call);
    }
}

std::optional<project::StreamValue> ValueFor(Host& host, const StreamTarget& target,
                                             const AEGP_StreamValue2& value, const char* call) {
    const project::StreamValue kind = target.stream->ValueAt(0);
    if (std::holds_alternative<double>(kind)) return value.val.one_d;
    if (std::holds_alternative<AEGP_TwoDVal>(kind)) return value.val.two_d;
    const auto* outline = host.references().Find<OutlineRecord>(value.val.mask, kStreamValueKind, call);
    if (!outline) return std::nullopt;
    return outline->outline;
}

}  // namespace knotwell::host
