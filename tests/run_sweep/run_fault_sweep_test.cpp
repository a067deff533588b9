// Whole runs of the example projects, the end-to-end road among them, with
// one host call failing in each: call N fails with an error code, and, where
// call N returns a pointer, separately with a null result. Every such run
// ends without a crash or a sanitizer report, the command that made the
// call answers the host with the first error, the ledger is clean, and no
// mask is left half baked.
//
// A run makes thousands to tens of thousands of calls, most of them the
// same calls again for the next frame or the next instance. So the sweep
// fails the first call at each place of the run (see PlaceOfEachCall), one
// run per place; with KNOTWELL_SWEEP_EVERY_CALL set in the environment it
// fails every call. Each test prints how many runs it made.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <numeric>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <unordered_set>
#include <utility>
#include <vector>

#include "headless_host/cli/progress.h"
#include "headless_host/cli/project_file/read_project.h"
#include "headless_host/cli/run_command.h"
#include "headless_host/evaluation/project.h"
#include "tests/support/fault_oracle.h"
#include "tests/support/plugins.h"

namespace knotwell::test {
namespace {

namespace fs = std::filesystem;
namespace pf = project_file;

constexpr PF_Err kCode = 1234;

// Calls whose failure the plug-ins take into no error code by design: the
// Info panel, the text helpers, the installed key of a layer effect, and
// the give-backs (a suite, a check-in, a handle), which nothing can be done
// about.
const std::set<std::string, std::less<>> kAbsorbed = {
    "PF_InfoDrawText", "sprintf",       "strcpy",             "AEGP_GetInstalledKeyFromLayerEffect",
    "ReleaseSuite",    "checkin_param", "host_unlock_handle", "host_dispose_handle"};
// Calls that return a pointer. The handle calls have no error code: any
// failure of theirs is a null result. A suite can be refused with a code
// or given as null.
const std::set<std::string, std::less<>> kPointerCalls = {"AcquireSuite", "host_new_handle", "host_lock_handle"};
const std::set<std::string, std::less<>> kCodeOrNull = {"AcquireSuite"};

// Calls whose failure one kind of command takes into no error code: the
// parameter handlers go on without a new snapshot when there is no memory
// for one.
const std::set<std::pair<std::string, PF_Cmd>> kAbsorbedIn = {{"host_new_handle", PF_Cmd_USER_CHANGED_PARAM},
                                                               {"host_new_handle", PF_Cmd_UPDATE_PARAMS_UI}};

std::vector<fs::path> Examples() {
    std::vector<fs::path> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(KNOTWELL_EXAMPLES_DIR)) {
        if (entry.path().extension() == ".json") found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

pf::ProjectDescription Read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    auto read = pf::ReadProject(text.str());
    if (!read.ok()) throw std::runtime_error(path.string() + ": " + pf::ToString(read.error()));
    return std::move(read).value();
}

// What a run left, read from the host after it set everything down.
struct RunView {
    bool refused = false;  // the tool stopped with a message
    long calls = 0;
    std::vector<std::string> trace;  // with HostProbe::trace_calls
    std::vector<std::string> injected;
    std::vector<host::CommandRecord> commands;
    std::string leaks;  // those no failure excuses
    std::vector<std::size_t> mask_keys;  // keyframes per mask, layer by layer
};

RunView PlayRun(const pf::ProjectDescription& description, const host::FaultPlan& faults, bool trace = false) {
    RunView view;
    std::ostringstream quiet;
    cli::Progress progress(quiet, false);
    cli::HostProbe probe{faults, trace, [&](host::Host& host) {
                             view.calls = host.calls().total();
                             view.trace.assign(host.calls().trace().begin(), host.calls().trace().end());
                             view.injected = host.calls().injected();
                             view.commands = host.command_log();
                             view.leaks = UnexcusedLeaks(host);
                             for (const project::Layer& layer : host.project().composition().layers) {
                                 for (const project::Mask& mask : layer.masks) {
                                     view.mask_keys.push_back(mask.outline.Keys().size());
                                 }
                             }
                         }};
    try {
        cli::RunProject(description, PluginPath("Knotwell", host::Generation::kCurrent).parent_path(), progress, probe);
    } catch (const std::exception&) {
        // The tool stops with a message, as after a setup that failed.
        view.refused = true;
    }
    return view;
}

std::uint64_t Mix(std::uint64_t hash, std::uint64_t more) { return (hash ^ more) * 1099511628211u; }

// How many calls before a call, within its command, tell its place.
constexpr long kContext = 32;

// Where each call of a run stands, as a number (index n - 1 for call n):
// the innermost command that made it, by kind and effect, and the names of
// that call and of the kContext calls before it in that command (fewer
// near the command's start); a call between commands, by the names of the
// calls since the last command, as far back. Two calls at the same place
// take the plug-in down the same path, so failing one shows what failing
// the other would: a loop over frames or vertices has a place for its
// first pass or two and then repeats them.
std::vector<std::uint64_t> PlaceOfEachCall(const std::vector<std::string>& trace,
                                           const std::vector<host::CommandRecord>& commands) {
    const auto total = static_cast<long>(trace.size());
    // owner[n]: the number of call n's innermost command (commands.size()
    // between commands). Wider commands are painted first, so that a nested
    // one paints over its caller.
    const auto outside = static_cast<long>(commands.size());
    std::vector<long> owner(trace.size() + 1, outside);
    std::vector<long> by_span(commands.size());
    std::iota(by_span.begin(), by_span.end(), 0);
    const auto span = [&](long c) { return commands[c].last_call - commands[c].first_call; };
    std::stable_sort(by_span.begin(), by_span.end(), [&](long a, long b) { return span(a) > span(b); });
    for (const long c : by_span) {
        for (long n = commands[c].first_call; n <= std::min(commands[c].last_call, total); ++n) owner[n] = c;
    }

    std::vector<std::uint64_t> places(trace.size());
    long since = 1;  // the first call of the current stretch between commands
    for (long n = 1; n <= total; ++n) {
        std::uint64_t hash = 0x6b6e6f7477656c6cu;
        long first = since;
        if (owner[n] != outside) {
            const host::CommandRecord& command = commands[owner[n]];
            hash = Mix(std::hash<std::string>{}(command.effect), command.cmd);
            first = command.first_call;
            since = n + 1;
        }
        for (long k = std::max(first, n - kContext); k <= n; ++k) hash = Mix(hash, std::hash<std::string>{}(trace[k - 1]));
        places[n - 1] = hash;
    }
    return places;
}

// The calls the sweep fails: the first at each place, or every call.
std::vector<long> CallsToFail(const RunView& clean) {
    std::vector<long> calls;
    if (std::getenv("KNOTWELL_SWEEP_EVERY_CALL")) {
        calls.resize(static_cast<std::size_t>(clean.calls));
        std::iota(calls.begin(), calls.end(), 1);
        return calls;
    }
    std::unordered_set<std::uint64_t> seen;
    const std::vector<std::uint64_t> places = PlaceOfEachCall(clean.trace, clean.commands);
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (seen.insert(places[i]).second) calls.push_back(static_cast<long>(i) + 1);
    }
    return calls;
}

// The command that made the failed call answers with the first error, and
// the ledger holds nothing the failure does not excuse.
void CheckFirstError(const RunView& run, const std::string& failed, const host::CommandRecord* command,
                     bool null_result) {
    EXPECT_EQ(run.leaks, "");
    // Also the give-backs the host has the plug-in make between commands,
    // such as the disposal of pre-render data.
    if (kAbsorbed.contains(failed)) return;
    ASSERT_NE(command, nullptr) << "a host call outside every command";
    SCOPED_TRACE("in command " + std::to_string(command->cmd) + " of " + command->effect);
    if (kAbsorbedIn.contains({failed, command->cmd})) return;
    if (failed == "AcquireSuite" && !null_result) {
        EXPECT_EQ(command->err, PF_Err_BAD_CALLBACK_PARAM) << "a missing suite ends the command";
    } else if (null_result || kPointerCalls.contains(failed)) {
        EXPECT_NE(command->err, PF_Err_NONE) << "the plug-in names a missing pointer itself";
    } else {
        EXPECT_EQ(command->err, kCode);
    }
}

class RunFaultSweepTest : public testing::TestWithParam<fs::path> {};

TEST_P(RunFaultSweepTest, EveryHostCallFailsOnce) {
    const pf::ProjectDescription description = Read(GetParam());
    const RunView clean = PlayRun(description, {}, true);
    ASSERT_FALSE(clean.refused);
    ASSERT_EQ(clean.leaks, "");
    ASSERT_GT(clean.calls, 0);
    ASSERT_EQ(static_cast<long>(clean.trace.size()), clean.calls);
    // Keys per mask as the file gives them.
    std::vector<std::size_t> keys_before;
    for (const pf::LayerDescription& layer : description.layers) {
        for (const pf::MaskDescription& mask : layer.masks) keys_before.push_back(mask.keyframes.size());
    }

    const std::vector<long> calls = CallsToFail(clean);
    long null_runs = 0;
    for (const long n : calls) {
        const std::string& name = clean.trace[static_cast<std::size_t>(n - 1)];
        // The run with an error code; a second run with a null result where
        // that differs.
        for (const bool null_result : {false, true}) {
            if (null_result && !kCodeOrNull.contains(name)) break;
            host::FaultPlan faults;
            if (null_result) {
                faults.null_nth = n;
                ++null_runs;
            } else {
                faults.fail_nth = n;
                faults.fail_nth_code = kCode;
            }
            const RunView run = PlayRun(description, faults);
            SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(clean.calls) + ": " + name +
                         (null_result ? " (null)" : ""));
            ASSERT_EQ(run.injected.size(), 1u);
            ASSERT_EQ(ParseInjected(run.injected.front()).name, name) << "the run took another path";

            CheckFirstError(run, name, CommandOf(run.commands, n), null_result);
            // A bake commits all its keys or none.
            ASSERT_EQ(run.mask_keys.size(), clean.mask_keys.size());
            for (std::size_t m = 0; m < run.mask_keys.size(); ++m) {
                EXPECT_TRUE(run.mask_keys[m] == clean.mask_keys[m] || run.mask_keys[m] == keys_before[m])
                    << "mask " << m << " has " << run.mask_keys[m] << " keys";
            }
        }
    }
    std::cout << GetParam().filename().string() << ": " << clean.calls << " host calls, " << calls.size()
              << " of them failed: " << calls.size() << " runs with an error code, " << null_runs
              << " with a null result" << std::endl;
}

INSTANTIATE_TEST_SUITE_P(Examples, RunFaultSweepTest, testing::ValuesIn(Examples()),
                         [](const testing::TestParamInfo<fs::path>& info) {
                             std::string name = info.param.stem().string();
                             std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
                             return name;
                         });

}  // namespace
}  // namespace knotwell::test
