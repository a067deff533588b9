// FaultPlan: the host failures a test asks for, so that the plug-ins' error
// paths run for real. Host calls are counted over the whole run, 1-based.
#pragma once

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "frame/host/ae_types.h"

namespace knotwell::host {

struct FaultPlan {
    // Fail the call with this number (0: none) with fail_nth_code.
    long fail_nth = 0;
    PF_Err fail_nth_code = PF_Err_INTERNAL_STRUCT_DAMAGED;
    // The call with this number (0: none), if it returns a pointer, returns
    // null without an error code; any other call is only counted.
    long null_nth = 0;
    // Fail every call of a name ("AEGP_RegisterWithAEGP", "checkout_layer", ...).
    std::map<std::string, PF_Err, std::less<>> fail_named;
    // Fail only the occurrence-th call (1-based, over the whole run) of a
    // name, e.g. the render's lock of the pre-render record.
    struct Occurrence {
        std::string name;
        long occurrence;
        PF_Err code;
    };
    std::vector<Occurrence> fail_occurrence;
    // Calls of these names that return a pointer return null without an
    // error code ("host_new_handle", "host_lock_handle", "AcquireSuite").
    std::set<std::string, std::less<>> null_result_named;
    // Suites (name, version) that AcquireSuite refuses.
    std::set<std::pair<std::string, A_long>> withheld_suites;
    // PF_InData::pica_basicP is null in every command.
    bool no_basic_suite = false;
    // host_new_handle returns null.
    bool no_memory = false;
};

}  // namespace knotwell::host
