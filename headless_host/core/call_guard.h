// CallGuard: the one door of every host entry point. It counts the call
// under its name and decides, from the FaultPlan, whether the call fails.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "headless_host/core/fault_plan.h"

namespace knotwell::host {

// A give-back (a dispose, a check-in) is carried out even when the fault
// plan fails it: the plug-in did its part, so the item must not stay open
// as a leak. The injected code is still what the call returns.
enum class CallKind { kUse, kGiveBack };

// What the guard decided for one call. A call that returns a pointer
// returns null when Refused(); a call that returns a code returns `error`;
// calls without a result (unlock, dispose, the math functions) are only
// counted.
struct CallVerdict {
    PF_Err error = PF_Err_NONE;
    bool null_result = false;
    bool Refused() const { return error != PF_Err_NONE || null_result; }
    // Whether a call of that kind answers with the injected error at once.
    bool Skips(CallKind kind) const { return error != PF_Err_NONE && kind == CallKind::kUse; }
    // What a call that went ahead returns: the injected error over its own.
    PF_Err Over(PF_Err own) const { return error != PF_Err_NONE ? error : own; }
};

class CallGuard {
public:
    CallVerdict Enter(std::string_view name);

    FaultPlan& plan() { return plan_; }
    long total() const { return total_; }
    long CallsOf(std::string_view name) const;
    const std::map<std::string, long, std::less<>>& per_name() const { return per_name_; }
    // "call 7 host_new_handle: error 512", one line per injected failure.
    const std::vector<std::string>& injected() const { return injected_; }
    // Keeps the name of every call from now on; switched on before the
    // first call, trace()[n - 1] is call n's. Off by default, as long runs
    // make millions of calls.
    void KeepTrace() { keep_trace_ = true; }
    const std::vector<std::string_view>& trace() const { return trace_; }

private:
    FaultPlan plan_;
    long total_ = 0;
    std::map<std::string, long, std::less<>> per_name_;
    std::vector<std::string> injected_;
    bool keep_trace_ = false;
    std::vector<std::string_view> trace_;  // views of per_name_'s keys, which stay put
};

}  // namespace knotwell::host
