#include "headless_host/core/call_guard.h"

namespace knotwell::host {

CallVerdict CallGuard::Enter(std::string_view name) {
    ++total_;
    auto counted = per_name_.find(name);
    if (counted == per_name_.end()) counted = per_name_.emplace(std::string(name), 0).first;
    ++counted->second;
    if (keep_trace_) trace_.push_back(counted->first);

    CallVerdict verdict;
    if (total_ == plan_.fail_nth) verdict.error = plan_.fail_nth_code;
    if (const auto named = plan_.fail_named.find(name); named != plan_.fail_named.end()) {
        verdict.error = named->second;
    }
    for (const FaultPlan::Occurrence& o : plan_.fail_occurrence) {
        if (o.name == name && o.occurrence == counted->second) verdict.error = o.code;
    }
    verdict.null_result = total_ == plan_.null_nth || plan_.null_result_named.contains(name);
    if (verdict.Refused()) {
        injected_.push_back("call " + std::to_string(total_) + " " + std::string(name) +
                            (verdict.error != PF_Err_NONE
                                 ? ": error " + std::to_string(verdict.error)
                                 : std::string(": null result")));
    }
    return verdict;
}

long CallGuard::CallsOf(std::string_view name) const {
    const auto counted = per_name_.find(name);
    return counted == per_name_.end() ? 0 : counted->second;
}

}  // namespace knotwell::host
