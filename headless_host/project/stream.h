// A project stream: a static value, or keyframes at layer times with
// linear interpolation between them, plus an optional expression applied
// on reads "after expressions". Mask outlines and effect parameters alike.
#pragma once

#include <functional>
#include <map>
#include <utility>

#include "headless_host/project/stream_value.h"

namespace knotwell::project {

enum class StreamStatus {
    kOk,
    kTimeInvariant,  // the stream holds one value for the whole layer: no keys
    kWrongKind,      // the value is not of the stream's kind
    kNotFinite,      // a component is NaN or infinite
};

// Turns the value before expressions at a time into the value after them.
// It must return a value of the stream's kind.
using Expression = std::function<StreamValue(Ticks time, const StreamValue& pre_expression)>;

class Stream {
public:
    // The initial value fixes the stream's kind for good.
    explicit Stream(StreamValue value, bool can_vary_in_time = true);

    bool CanVaryInTime() const { return can_vary_in_time_; }
    bool IsKeyframed() const { return !keys_.empty(); }
    const std::map<Ticks, StreamValue>& Keys() const { return keys_; }

    // Before expressions: the static value, or the keys interpolated; the
    // first key's value before it and the last key's after it.
    StreamValue ValueAt(Ticks time) const;
    StreamValue ValueAfterExpressionAt(Ticks time) const;

    // On a keyframed stream this sets the key at `time`, adding one there
    // when there is none, as the host does when a stream with keys is set
    // at the current time. Otherwise it replaces the static value.
    StreamStatus SetValue(Ticks time, StreamValue value);

    // Adds a key, or replaces the one at `time`.
    StreamStatus SetKey(Ticks time, StreamValue value);

    // An empty function removes the expression.
    void SetExpression(Expression expression) { expression_ = std::move(expression); }
    bool HasExpression() const { return static_cast<bool>(expression_); }

private:
    bool can_vary_in_time_;
    StreamValue static_value_;
    std::map<Ticks, StreamValue> keys_;
    Expression expression_;
};

}  // namespace knotwell::project
