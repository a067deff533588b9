#include "headless_host/project/stream.h"

#include <iterator>
#include <utility>

namespace knotwell::project {

Stream::Stream(StreamValue value, bool can_vary_in_time)
    : can_vary_in_time_(can_vary_in_time), static_value_(std::move(value)) {}

StreamValue Stream::ValueAt(Ticks time) const {
    if (keys_.empty()) {
        return static_value_;
    }
    const auto after = keys_.upper_bound(time);
    if (after == keys_.begin()) {
        return after->second;
    }
    const auto at_or_before = std::prev(after);
    if (after == keys_.end() || at_or_before->first == time) {
        return at_or_before->second;
    }
    const double f = static_cast<double>(time - at_or_before->first) /
                     static_cast<double>(after->first - at_or_before->first);
    return Interpolate(at_or_before->second, after->second, f);
}

StreamValue Stream::ValueAfterExpressionAt(Ticks time) const {
    StreamValue value = ValueAt(time);
    return expression_ ? expression_(time, value) : value;
}

StreamStatus Stream::SetValue(Ticks time, StreamValue value) {
    if (IsKeyframed()) {
        return SetKey(time, std::move(value));
    }
    if (!SameKind(value, static_value_)) {
        return StreamStatus::kWrongKind;
    }
    if (!IsFinite(value)) {
        return StreamStatus::kNotFinite;
    }
    static_value_ = std::move(value);
    return StreamStatus::kOk;
}

StreamStatus Stream::SetKey(Ticks time, StreamValue value) {
    if (!can_vary_in_time_) {
        return StreamStatus::kTimeInvariant;
    }
    if (!SameKind(value, static_value_)) {
        return StreamStatus::kWrongKind;
    }
    if (!IsFinite(value)) {
        return StreamStatus::kNotFinite;
    }
    keys_.insert_or_assign(time, std::move(value));
    return StreamStatus::kOk;
}

}  // namespace knotwell::project
