// Move-only holders of the references a handler obtains from the AEGP
// suites (effects, masks, streams, stream values). Each gives its reference
// back when it goes out of scope, whatever error the handler ran into;
// Release() does it early and returns the host's result, so a handler can
// fold a failed release into its running error code.
#pragma once

#include <utility>

#include "frame/host/aegp_suites.h"

namespace knotwell {

// Keeps the first error: `err` takes `result` only while it is still 0.
inline void KeepFirst(PF_Err& err, PF_Err result) {
    if (!err) err = result;
}

template <class Handle>
class AegpRef {
public:
    using Dispose = A_Err (*)(Handle);

    explicit AegpRef(Dispose dispose) : dispose_(dispose) {}
    ~AegpRef() { Release(); }
    AegpRef(AegpRef&& other) noexcept
        : dispose_(other.dispose_), handle_(std::exchange(other.handle_, nullptr)) {}
    AegpRef& operator=(AegpRef&&) = delete;
    AegpRef(const AegpRef&) = delete;

    // Where the obtaining call writes the reference.
    Handle* out() { return &handle_; }
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    A_Err Release() {
        if (!handle_) return A_Err{0};
        return dispose_(std::exchange(handle_, nullptr));
    }

private:
    Dispose dispose_;
    Handle handle_ = nullptr;
};

using EffectRef = AegpRef<AEGP_EffectRefH>;
using MaskRef = AegpRef<AEGP_MaskRefH>;
using StreamRef = AegpRef<AEGP_StreamRefH>;

// A stream value fetched from the host, disposed with the stream suite.
class StreamValue {
public:
    explicit StreamValue(const AEGP_StreamSuite* streams) : streams_(streams) {}
    ~StreamValue() { Release(); }
    StreamValue(StreamValue&& other) noexcept
        : streams_(other.streams_), value_(other.value_), held_(std::exchange(other.held_, false)) {}
    StreamValue(const StreamValue&) = delete;
    StreamValue& operator=(const StreamValue&) = delete;

    A_Err Fetch(AEGP_PluginID plugin_id, AEGP_StreamRefH stream, const A_Time& time,
                bool pre_expression) {
        const A_Err err = streams_->AEGP_GetNewStreamValue(
            plugin_id, stream, AEGP_LTimeMode_LayerTime, &time, pre_expression, &value_);
        held_ = !err;
        return err;
    }

    A_Err Release() {
        if (!held_) return A_Err{0};
        held_ = false;
        return streams_->AEGP_DisposeStreamValue(&value_);
    }

    AEGP_StreamValue2& value() { return value_; }

private:
    const AEGP_StreamSuite* streams_;
    AEGP_StreamValue2 value_{};
    bool held_ = false;
};

}  // namespace knotwell
