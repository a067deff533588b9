// "AEGP Keyframe Suite" (4, and 3 for the legacy host, one table): batches
// of keys on a stream. Nothing reaches the stream before
// AEGP_EndAddKeyframes with add true; a key at the time of an existing one
// replaces it; the keys of a batch arrive all or none. A batch never ended
// stays open in the ledger.
#include "headless_host/suites/aegp_suites.h"
#include "headless_host/suites/aegp_support.h"

namespace knotwell::host {

namespace {

KeyframeBatch* FindBatch(Host& host, AEGP_AddKeyframesInfoH batchH, const char* call) {
    return host.references().Find<KeyframeBatch>(batchH, kKeyframeBatchKind, call);
}

A_Err StartAddKeyframes(AEGP_StreamRefH streamH, AEGP_AddKeyframesInfoH* batchPH) {
    constexpr const char* kCall = "AEGP_StartAddKeyframes";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {batchPH})) return err;
        const auto* target = host.references().Find<StreamTarget>(streamH, kStreamKind, kCall);
        if (!target) return PF_Err_BAD_CALLBACK_PARAM;
        if (!target->stream->CanVaryInTime()) return Refuse(host, kCall, "the stream cannot vary in time");
        *batchPH = static_cast<AEGP_AddKeyframesInfoH>(
            host.references().Open(kKeyframeBatchKind, KeyframeBatch{*target, {}}, kCall));
        return PF_Err_NONE;
    });
}

A_Err AddKeyframes(AEGP_AddKeyframesInfoH batchH, AEGP_LTimeMode time_mode, const A_Time* timePT,
                   A_long* key_indexPL) {
    constexpr const char* kCall = "AEGP_AddKeyframes";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {timePT, key_indexPL})) return err;
        KeyframeBatch* batch = FindBatch(host, batchH, kCall);
        if (!batch) return PF_Err_BAD_CALLBACK_PARAM;
        const auto time = LayerTicks(host, *batch->target.layer, time_mode, *timePT);
        if (!time) return Refuse(host, kCall, "the time or its mode is not valid");
        *key_indexPL = static_cast<A_long>(batch->keys.size());
        batch->keys.emplace_back(*time, std::nullopt);
        return PF_Err_NONE;
    });
}

A_Err SetAddKeyframe(AEGP_AddKeyframesInfoH batchH, A_long key_index, const AEGP_StreamValue2* valueP) {
    constexpr const char* kCall = "AEGP_SetAddKeyframe";
    return AegpCall(kCall, [&](Host& host) -> A_Err {
        if (const A_Err err = CheckArgs(host, kCall, {valueP})) return err;
        KeyframeBatch* batch = FindBatch(host, batchH, kCall);
        if (!batch) return PF_Err_BAD_CALLBACK_PARAM;
        if (key_index < 0 || static_cast<std::size_t>(key_index) >= batch->keys.size()) return PF_Err_INVALID_INDEX;
        auto value = ValueFor(host, batch->target, *valueP, kCall);
        if (!value) return PF_Err_BAD_CALLBACK_PARAM;
        batch->keys[static_cast<std::size_t>(key_index)].second = std::move(value);
        return PF_Err_NONE;
    });
}

// A key that was added without a value takes the stream's value at its time.
// The batch ends whatever happens, as the plug-in cannot end it twice; an
// end that fails adds no key at all, so the stream keeps exactly the keys it
// had.
A_Err EndAddKeyframes(A_Boolean addB, AEGP_AddKeyframesInfoH batchH) {
    constexpr const char* kCall = "AEGP_EndAddKeyframes";
    Host& host = Host::Active();
    const CallVerdict verdict = host.calls().Enter(kCall);
    KeyframeBatch* batch = FindBatch(host, batchH, kCall);
    if (!batch) return verdict.Over(PF_Err_BAD_CALLBACK_PARAM);
    A_Err err = PF_Err_NONE;
    if (addB && !verdict.Refused()) {
        project::Stream& stream = *batch->target.stream;
        const project::Stream before = stream;
        for (const auto& [time, value] : batch->keys) {
            const project::StreamValue key = value ? *value : stream.ValueAt(time);
            if (host.project().SetKey(batch->target, time, key) != project::StreamStatus::kOk) {
                err = Refuse(host, kCall, "the stream refuses a key");
                stream = before;
                break;
            }
        }
    }
    host.references().Close(batchH, kKeyframeBatchKind, kCall);
    return verdict.Over(err);
}

}  // namespace

const AEGP_KeyframeSuite& KeyframeSuite() {
    static const AEGP_KeyframeSuite suite{StartAddKeyframes, AddKeyframes, SetAddKeyframe, EndAddKeyframes};
    return suite;
}

}  // namespace knotwell::host
