// ParamCheckout: a pre-render's parameters, checked out at the current time
// in index order and checked back in when the holder goes out of scope, so
// no checkout outlives the command whatever path it takes.
#pragma once

#include <array>

#include "frame/host/pf_effect.h"

namespace knotwell {

class ParamCheckout {
public:
    static constexpr int kMaxParams = 16;

    explicit ParamCheckout(PF_InData* in_data) : in_data_(in_data) {}
    ~ParamCheckout();
    ParamCheckout(const ParamCheckout&) = delete;
    ParamCheckout& operator=(const ParamCheckout&) = delete;

    // Checks out parameters 1 to last; stops at the first failure and
    // returns its code.
    PF_Err CheckOut(int last);

    const PF_ParamDef& operator[](int index) const { return defs_[index]; }

private:
    PF_InData* in_data_;
    std::array<PF_ParamDef, kMaxParams> defs_{};
    int checked_out_ = 0;  // parameters 1 to checked_out_ are held
};

}  // namespace knotwell
