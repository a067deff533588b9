// SuiteScope: holds one suite for the render. Unlike SuiteHandler it never
// throws: a suite it cannot acquire or release is reported to the user
// through return_msg and to the caller as PF_Err_BAD_CALLBACK_PARAM.
#pragma once

#include "frame/host/pf_effect.h"

namespace knotwell {

class SuiteScopeBase {
public:
    SuiteScopeBase(PF_InData* in_data, PF_OutData* out_data, const char* name, A_long version)
        : in_data_(in_data), out_data_(out_data), name_(name), version_(version) {}
    ~SuiteScopeBase();
    SuiteScopeBase(const SuiteScopeBase&) = delete;
    SuiteScopeBase& operator=(const SuiteScopeBase&) = delete;

    // 0 with the table held, or 516 with the message (a default one when
    // null) shown to the user.
    PF_Err Acquire(const char* message = nullptr);
    PF_Err Release(const char* message = nullptr);

protected:
    const void* table_ = nullptr;

private:
    PF_Err Fail(const char* message, const char* fallback);

    PF_InData* in_data_;
    PF_OutData* out_data_;
    const char* name_;
    A_long version_;
};

template <class Suite>
class SuiteScope : public SuiteScopeBase {
public:
    using SuiteScopeBase::SuiteScopeBase;
    const Suite* operator->() const { return static_cast<const Suite*>(table_); }
    bool held() const { return table_ != nullptr; }
};

}  // namespace knotwell
