// "AEGP Stream Suite" (9, and 7 for the legacy host, one table): effect
// parameter and mask outline streams, their values at a time before or
// after expressions, and setting them as After Effects does at the current
// time. "AEGP Dynamic Stream Suite" (5, and 2): hiding a parameter.
#include "headless_host/suites/aegp_suites.h"
#include "headless_host/evaluation/expression_guard.h"
#include "headless_host/suites/aegp_support.h"

namespace knotwell::host {

namespace {

AEGP_StreamRefH NewStream(Host& host, const StreamTarget& target, const char* call) {
    return static_cast<AEGP_StreamRefH>(host.references().Open(kStreamKind, target, call));
}

A_Err GetNewEffectStreamByIndex(AEGP_PluginID plugin_id, AEGP_EffectRefH effectH, PF_ParamIndex index,
                                AEGP_StreamRefH* streamPH) {
    constexpr const char* kCall = "AEGP_GetNewEffectStreamByIndex";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {streamPH}, plugin_id)) return err;
        const auto* effect = host.references().Find<EffectRefRecord>(effectH, kEffectRefKind, kCall);
        if (!effect) return PF_Err_BAD_CALLBACK_PARAM;
        // Parameter 0, the input layer, has no stream here.
        if (index < 1 || index >= effect->instance->num_params()) return PF_Err_INVALID_INDEX;
        *streamPH = NewStream(host, effect->instance->Target(index), kCall);
        return PF_Err_NONE;
    });
}

A_Err GetNewMaskStream(AEGP_PluginID plugin_id, AEGP_MaskRefH maskH, AEGP_MaskStream which,
                       AEGP_StreamRefH* streamPH) {
    constexpr const char* kCall = "AEGP_GetNewMaskStream";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {streamPH}, plugin_id)) return err;
        const auto* mask = host.references().Find<MaskRefRecord>(maskH, kMaskRefKind, kCall);
        if (!mask) return PF_Err_BAD_CALLBACK_PARAM;
        if (which != AEGP_MaskStream_OUTLINE) {
            return Refuse(host, kCall, "mask stream " + std::to_string(which) + " is not kept by this host");
        }
        *streamPH = NewStream(host, {mask->layer, &mask->mask->outline, nullptr, 0}, kCall);
        return PF_Err_NONE;
    });
}

A_Err DisposeStream(AEGP_StreamRefH streamH) {
    return DisposeReference("AEGP_DisposeStream", streamH, kStreamKind);
}

A_Err GetNewStreamValue(AEGP_PluginID plugin_id, AEGP_StreamRefH streamH, AEGP_LTimeMode time_mode,
                        const A_Time* timePT, A_Boolean pre_expression, AEGP_StreamValue2* valueP) {
    constexpr const char* kCall = "AEGP_GetNewStreamValue";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {timePT, valueP}, plugin_id)) return err;
        const auto* target = host.references().Find<StreamTarget>(streamH, kStreamKind, kCall);
        if (!target) return PF_Err_BAD_CALLBACK_PARAM;
        const auto time = LayerTicks(host, *target->layer, time_mode, *timePT);
        if (!time) return Refuse(host, kCall, "the time or its mode is not valid");
        const project::Stream& stream = *target->stream;
        project::StreamValue value;
        if (const A_Err err = GuardExpression(host, [&] {
                value = pre_expression ? stream.ValueAt(*time) : stream.ValueAfterExpressionAt(*time);
            })) {
            return err;
        }
        HandOutValue(host, streamH, value, kCall, valueP);
        return PF_Err_NONE;
    });
}

A_Err DisposeStreamValue(AEGP_StreamValue2* valueP) {
    constexpr const char* kCall = "AEGP_DisposeStreamValue";
    return AegpCall(
        kCall,
        [&](Host& host) -> A_Err {
            if (const A_Err err = CheckArgs(host, kCall, {valueP})) return err;
            // The value names its stream, which may be disposed already.
            const auto* target = host.references().Peek<StreamTarget>(valueP->streamH, kStreamKind);
            if (!target) return Refuse(host, kCall, "the value names no stream this host handed out");
            const bool closed = IsOutline(*target)
                                    ? host.references().Close(valueP->val.mask, kStreamValueKind, kCall)
                                    : host.ledger().Close(kStreamValueKind, valueP->streamH, kCall);
            return closed ? PF_Err_NONE : PF_Err_BAD_CALLBACK_PARAM;
        },
        CallKind::kGiveBack);
}

// On a keyframed stream the value becomes the key at the current time, as
// After Effects does; otherwise it is the static value.
A_Err SetStreamValue(AEGP_PluginID plugin_id, AEGP_StreamRefH streamH, AEGP_StreamValue2* valueP) {
    constexpr const char* kCall = "AEGP_SetStreamValue";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {valueP}, plugin_id)) return err;
        const auto* target = host.references().Find<StreamTarget>(streamH, kStreamKind, kCall);
        if (!target) return PF_Err_BAD_CALLBACK_PARAM;
        const auto value = ValueFor(host, *target, *valueP, kCall);
        if (!value) return PF_Err_BAD_CALLBACK_PARAM;
        Project& project = host.project();
        if (project.SetValue(*target, project.LayerTimeNow(*target->layer), *value) != project::StreamStatus::kOk) {
            return Refuse(host, kCall, "the stream refuses the value");
        }
        return PF_Err_NONE;
    });
}

A_Err SetDynamicStreamFlag(AEGP_StreamRefH streamH, AEGP_DynStreamFlags one_flag, A_Boolean, A_Boolean setB) {
    constexpr const char* kCall = "AEGP_SetDynamicStreamFlag";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        const auto* target = host.references().Find<StreamTarget>(streamH, kStreamKind, kCall);
        if (!target) return PF_Err_BAD_CALLBACK_PARAM;
        if (!target->instance || one_flag != AEGP_DynStreamFlag_HIDDEN) {
            return Refuse(host, kCall, "only the hidden flag of effect parameters is kept by this host");
        }
        target->instance->ui(target->index).hidden = setB != 0;
        return PF_Err_NONE;
    });
}

}  // namespace

const AEGP_StreamSuite& StreamSuite() {
    static const AEGP_StreamSuite suite{GetNewEffectStreamByIndex, GetNewMaskStream,   DisposeStream,
                                        GetNewStreamValue,         DisposeStreamValue, SetStreamValue};
    return suite;
}

const AEGP_DynamicStreamSuite& DynamicStreamSuite() {
    static const AEGP_DynamicStreamSuite suite{SetDynamicStreamFlag};
    return suite;
}

}  // namespace knotwell::host
