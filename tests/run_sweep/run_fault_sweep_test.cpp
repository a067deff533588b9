// Whole runs of the example projects, the end-to-end road among them, with
// one host call failing in each: call N fails with an error code, and, where
// call N returns a pointer, separately with a null result. Every such run
// ends without a crash or a sanitizer report, the command that made the
// call answers the host with the first error, the ledger is clean, and the
// user's action during which the call failed left each stream of the
// project either as it was or as the action without the failure left it:
// nothing half written, nothing made up from a failed read.
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
#include <map>
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
// A layer effect whose installed key cannot be read is taken for another
// effect: the action goes on without it, to another end.
const std::set<std::string, std::less<>> kOtherEnd = {"AEGP_GetInstalledKeyFromLayerEffect"};
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

// Every stream of the project by where it is: "layer 0 mask 1",
// "layer 0 effect 2 param 5".
using Streams = std::map<std::string, project::Stream>;

Streams StreamsOf(host::Project& project) {
    Streams streams;
    const auto& layers = project.composition().layers;
    for (std::size_t l = 0; l < layers.size(); ++l) {
        const std::string layer = "layer " + std::to_string(l);
        for (std::size_t m = 0; m < layers[l].masks.size(); ++m) {
            streams.emplace(layer + " mask " + std::to_string(m), layers[l].masks[m].outline);
        }
        for (std::size_t e = 0; e < layers[l].effects.size(); ++e) {
            const auto& params = layers[l].effects[e].params;
            for (std::size_t p = 0; p < params.size(); ++p) {
                streams.emplace(layer + " effect " + std::to_string(e) + " param " + std::to_string(p + 1),
                                params[p].stream);
            }
        }
    }
    return streams;
}

// The same keys with the same values, or the same static value.
bool SameStream(const project::Stream& a, const project::Stream& b) {
    if (a.IsKeyframed() != b.IsKeyframed()) return false;
    if (!a.IsKeyframed()) return project::SameValue(a.ValueAt(0), b.ValueAt(0));
    return std::equal(a.Keys().begin(), a.Keys().end(), b.Keys().begin(), b.Keys().end(),
                      [](const auto& x, const auto& y) { return x.first == y.first && SameValue(x.second, y.second); });
}

// The project around one command: before it was sent and after it returned.
struct AroundCommand {
    Streams before;
    Streams after;
};

// What a run left, read from the host after it set everything down.
struct RunView {
    bool refused = false;  // the tool stopped with a message
    long calls = 0;
    std::vector<std::string> trace;  // when asked for
    std::vector<std::string> injected;
    std::vector<host::CommandRecord> commands;
    std::string leaks;  // those no failure excuses
    // By the number of the command's first host call, for the commands asked for.
    std::map<long, AroundCommand> around;
};

// `watched`: the first host calls of the commands to look at; a command
// that makes no host call shares its number with the next, which comes
// last and so is the one kept.
RunView PlayRun(const pf::ProjectDescription& description, const host::FaultPlan& faults,
                const std::set<long>& watched = {}, bool trace = false) {
    RunView view;
    std::ostringstream quiet;
    cli::Progress progress(quiet, false);
    cli::HostProbe probe;
    probe.prepare = [&](host::Host& host) {
        host.faults() = faults;
        if (trace) host.calls().KeepTrace();
        if (watched.empty()) return;
        host.WatchCommands({[&](long first) {
                                if (watched.contains(first)) view.around[first].before = StreamsOf(host.project());
                            },
                            [&](const host::CommandRecord& command) {
                                if (watched.contains(command.first_call)) {
                                    view.around[command.first_call].after = StreamsOf(host.project());
                                }
                            }});
    };
    probe.inspect = [&](host::Host& host) {
        view.calls = host.calls().total();
        view.trace.assign(host.calls().trace().begin(), host.calls().trace().end());
        view.injected = host.calls().injected();
        view.commands = host.command_log();
        view.leaks = UnexcusedLeaks(host);
    };
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

// Each stream the command found is as it was before it, or as the command
// left it in the run without the failure.
void CheckStreams(const AroundCommand& failed, const AroundCommand& clean) {
    for (const auto& [where, stream] : failed.after) {
        const auto before = failed.before.find(where);
        if (before == failed.before.end()) continue;  // made by the command
        const auto done = clean.after.find(where);
        EXPECT_TRUE(SameStream(stream, before->second) ||
                    (done != clean.after.end() && SameStream(stream, done->second)))
            << where << " is neither as it was nor as the command leaves it";
    }
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
    const RunView traced = PlayRun(description, {}, {}, true);
    ASSERT_FALSE(traced.refused);
    ASSERT_EQ(traced.leaks, "");
    ASSERT_GT(traced.calls, 0);
    ASSERT_EQ(static_cast<long>(traced.trace.size()), traced.calls);

    // The user's action around each call to fail; the clean run again,
    // looking at the project around those.
    const std::vector<long> calls = CallsToFail(traced);
    std::map<long, long> action_of;  // call -> first call of its outermost command
    std::set<long> actions;
    for (const long n : calls) {
        if (const host::CommandRecord* action = CommandOf(traced.commands, n, Nesting::kOutermost)) {
            action_of[n] = action->first_call;
            actions.insert(action->first_call);
        }
    }
    const RunView clean = PlayRun(description, {}, actions);

    long null_runs = 0;
    for (const long n : calls) {
        const std::string& name = traced.trace[static_cast<std::size_t>(n - 1)];
        const auto action = action_of.find(n);
        const std::set<long> watched =
            action == action_of.end() ? std::set<long>{} : std::set<long>{action->second};
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
            const RunView run = PlayRun(description, faults, watched);
            SCOPED_TRACE("call " + std::to_string(n) + " of " + std::to_string(traced.calls) + ": " + name +
                         (null_result ? " (null)" : ""));
            ASSERT_EQ(run.injected.size(), 1u);
            ASSERT_EQ(ParseInjected(run.injected.front()).name, name) << "the run took another path";

            CheckFirstError(run, name, CommandOf(run.commands, n), null_result);
            if (action != action_of.end() && !kOtherEnd.contains(name)) {
                CheckStreams(run.around.at(action->second), clean.around.at(action->second));
            }
        }
    }
    std::cout << GetParam().filename().string() << ": " << traced.calls << " host calls, " << calls.size()
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
