// What a run with injected host failures may leave in the ledger: nothing,
// except where the failure itself takes from the plug-in the means to give
// something back. Shared by the fault sweeps and the fuzzer.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "headless_host/host.h"

namespace knotwell::test {

struct InjectedCall {
    long number = 0;
    std::string name;
};

// "call 7 host_new_handle: error 1234" -> {7, "host_new_handle"}.
inline InjectedCall ParseInjected(const std::string& line) {
    const std::size_t number_end = line.find(' ', 5);
    return {std::stol(line.substr(5, number_end - 5)), line.substr(number_end + 1, line.find(':') - number_end - 1)};
}

enum class Nesting { kInnermost, kOutermost };

// The innermost (or outermost: the user's action, such as one effect's
// pre-render) command during which call `n` was made, or null.
inline const host::CommandRecord* CommandOf(const std::vector<host::CommandRecord>& commands, long n,
                                            Nesting nesting = Nesting::kInnermost) {
    const auto span = [](const host::CommandRecord& c) { return c.last_call - c.first_call; };
    const host::CommandRecord* found = nullptr;
    for (const host::CommandRecord& c : commands) {
        if (c.first_call > n || n > c.last_call) continue;
        if (!found || (nesting == Nesting::kInnermost ? span(c) < span(*found) : span(c) > span(*found))) {
            found = &c;
        }
    }
    return found;
}

// The lines of the host's leak report that no injected failure excuses:
// - a setdown that cannot acquire the handle suite cannot give its block
//   back, so one handle stays with the host, which owns it;
// - an effect whose global setup failed cannot be applied, and the host
//   notes each refused application.
inline std::string UnexcusedLeaks(host::Host& host) {
    long setdowns_without_suite = 0;
    bool failed_global_setup = false;
    for (const std::string& line : host.calls().injected()) {
        const InjectedCall call = ParseInjected(line);
        const host::CommandRecord* command = CommandOf(host.command_log(), call.number);
        if (!command) continue;
        if (call.name == "AcquireSuite" &&
            (command->cmd == PF_Cmd_GLOBAL_SETDOWN || command->cmd == PF_Cmd_SEQUENCE_SETDOWN)) {
            ++setdowns_without_suite;
        }
        failed_global_setup |= command->cmd == PF_Cmd_GLOBAL_SETUP;
    }
    std::istringstream report(host.LeakReport());
    std::string unexcused;
    for (std::string line; std::getline(report, line);) {
        if (line.starts_with("leaked handle") && setdowns_without_suite > 0) {
            --setdowns_without_suite;
        } else if (!(failed_global_setup && line.find("global setup failed") != std::string::npos)) {
            unexcused += line + "\n";
        }
    }
    return unexcused;
}

}  // namespace knotwell::test
