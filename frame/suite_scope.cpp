#include "frame/suite_scope.h"

#include "frame/host/sp_basic_suite.h"

namespace knotwell {

SuiteScopeBase::~SuiteScopeBase() {
    // A holder that goes out of scope still holding its suite gives it back
    // quietly; the render releases explicitly to learn the result.
    if (table_ && in_data_->pica_basicP) in_data_->pica_basicP->ReleaseSuite(name_, version_);
}

PF_Err SuiteScopeBase::Fail(const char* message, const char* fallback) {
    out_data_->out_flags |= PF_OutFlag_DISPLAY_ERROR_MESSAGE;
    in_data_->utils->ansi.sprintf(out_data_->return_msg, message ? message : fallback);
    return PF_Err_BAD_CALLBACK_PARAM;
}

PF_Err SuiteScopeBase::Acquire(const char* message) {
    // Only the table decides success; the host's code is not looked at.
    if (in_data_->pica_basicP) {
        in_data_->pica_basicP->AcquireSuite(name_, version_, &table_);
        if (table_) return PF_Err_NONE;
    }
    return Fail(message, "Not able to acquire AEFX Suite.");
}

PF_Err SuiteScopeBase::Release(const char* message) {
    if (in_data_->pica_basicP) {
        if (table_) in_data_->pica_basicP->ReleaseSuite(name_, version_);
        table_ = nullptr;
        return PF_Err_NONE;
    }
    return Fail(message, "Not able to release AEFX Suite.");
}

}  // namespace knotwell
