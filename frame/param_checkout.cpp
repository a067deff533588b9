#include "frame/param_checkout.h"

namespace knotwell {

ParamCheckout::~ParamCheckout() {
    for (int i = 1; i <= checked_out_; ++i) in_data_->inter.checkin_param(in_data_->effect_ref, &defs_[i]);
}

PF_Err ParamCheckout::CheckOut(int last) {
    if (last >= kMaxParams) return PF_Err_BAD_CALLBACK_PARAM;
    for (int i = checked_out_ + 1; i <= last; ++i) {
        const PF_Err err =
            in_data_->inter.checkout_param(in_data_->effect_ref, i, in_data_->current_time,
                                           in_data_->time_step, in_data_->time_scale, &defs_[i]);
        if (err) return err;
        checked_out_ = i;
    }
    return PF_Err_NONE;
}

}  // namespace knotwell
