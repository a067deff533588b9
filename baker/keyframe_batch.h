// KeyframeBatch: an open batch of keyframes on one stream. The keys reach
// the stream only when the batch is ended with add set; a batch left open by
// a failure is ended without them, so the stream keeps exactly the
// keyframes it had.
#pragma once

#include <utility>

#include "frame/host/aegp_suites.h"

namespace knotwell {

class KeyframeBatch {
public:
    explicit KeyframeBatch(const AEGP_KeyframeSuite* keys) : keys_(keys) {}
    ~KeyframeBatch() { End(false); }
    KeyframeBatch(const KeyframeBatch&) = delete;
    KeyframeBatch& operator=(const KeyframeBatch&) = delete;

    A_Err Start(AEGP_StreamRefH stream) { return keys_->AEGP_StartAddKeyframes(stream, &info_); }

    // Commits the keys when `add` is set, drops them otherwise.
    A_Err End(bool add) {
        if (!info_) return A_Err{0};
        return keys_->AEGP_EndAddKeyframes(add, std::exchange(info_, nullptr));
    }

    AEGP_AddKeyframesInfoH get() const { return info_; }

private:
    const AEGP_KeyframeSuite* keys_;
    AEGP_AddKeyframesInfoH info_ = nullptr;
};

}  // namespace knotwell
