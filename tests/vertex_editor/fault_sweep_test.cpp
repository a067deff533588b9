// Every host call of a drive, a follow, an idle reset and a UI update made
// to fail in turn, and the pointer-returning calls made to give nothing:
// the command returns the first error (or absorbs it where that is the
// design), shows what it should, and leaves nothing behind in the host.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>

#include "tests/vertex_editor/knotwell_scene.h"

namespace knotwell {
namespace {

using host::Generation;
using test::KnotwellScene;
using test::Outline;

constexpr PF_Err kInjected = 4321;

struct Outcome {
    host::Reply reply;
    bool rects_reported = false;
};

struct Scenario {
    const char* what;
    void (*arrange)(KnotwellScene&);
    Outcome (*run)(KnotwellScene&);
    bool parameter_handler;  // else a pre-render
};

Outcome PreRender(KnotwellScene& scene) {
    const test::PreRenderReply result = scene.PreRender();
    return {result.reply, result.output.result_rect.right == 200 && result.output.result_rect.bottom == 100};
}

Outcome UserChangedParam(KnotwellScene& scene) { return {scene.fx().UserChangedParam()}; }

// Each one reaches every host call of its path: the drive and the follow
// also pull "Index" and "No" into range.
const Scenario kScenarios[] = {
    {"drive",
     [](KnotwellScene& s) {
         s.AddMask(Outline(2));
         s.AddMask(Outline(4));
         s.Apply({.index = 5, .no = 9, .point = {3, 4}, .on = 1});
     },
     PreRender, false},
    {"follow",
     [](KnotwellScene& s) {
         s.AddMask(Outline(4));
         s.Apply({.index = 3, .no = 9});
     },
     PreRender, false},
    {"reset on a layer without masks", [](KnotwellScene& s) { s.Apply({.index = 3, .on = 1}); }, PreRender,
     false},
    {"UI update on a RotoBezier mask",
     [](KnotwellScene& s) {
         s.AddMask(Outline(2), true);
         s.Apply({.index = 0, .coordinate = kKnotwellPolar});
     },
     UserChangedParam, true},
};

// Calls whose failure the plug-ins ignore by design: those without a
// result, the give-backs of suites and checked-out controls, and, in the
// parameter handler, a snapshot block it can do without.
bool Absorbed(const Scenario& scenario, std::string_view call) {
    static const std::set<std::string_view> kIgnored = {"ReleaseSuite", "checkin_param", "host_unlock_handle",
                                                         "host_dispose_handle", "strcpy"};
    return kIgnored.contains(call) || (scenario.parameter_handler && call == "host_new_handle");
}

PF_Err ExpectedError(const Scenario& scenario, std::string_view call) {
    if (Absorbed(scenario, call)) return PF_Err_NONE;
    if (call == "AcquireSuite") return PF_Err_BAD_CALLBACK_PARAM;
    if (call == "host_new_handle" || call == "host_lock_handle") return PF_Err_OUT_OF_MEMORY;
    return kInjected;
}

// What the command shows besides its code: the parameter handler shows
// "ERROR" for a failed snapshot or control update and always asks for a
// refresh unless a suite was missing; a pre-render shows nothing and
// reports the input's rectangles unless its set-up failed.
void ExpectShown(const Scenario& scenario, std::string_view call, const Outcome& outcome) {
    const bool thrown = call == "AcquireSuite";
    if (scenario.parameter_handler) {
        const bool shows_error =
            call == "PF_HasParamChanged" || call == "PF_GetCurrentState" || call == "PF_UpdateParamUI";
        EXPECT_EQ(outcome.reply.return_msg(), shows_error ? "ERROR" : "");
        EXPECT_EQ(outcome.reply.out.out_flags,
                  thrown ? 0 : PF_OutFlag_REFRESH_UI | (shows_error ? PF_OutFlag_DISPLAY_ERROR_MESSAGE : 0));
    } else {
        EXPECT_EQ(outcome.reply.return_msg(), "");
        EXPECT_EQ(outcome.reply.out.out_flags, 0);
        const bool set_up_failed = thrown || call == "host_new_handle" || call == "host_lock_handle" ||
                                   call == "checkout_param" || call == "checkout_layer";
        EXPECT_EQ(outcome.rects_reported, !set_up_failed);
    }
}

// "call 7 host_new_handle: error 512" -> "host_new_handle"
std::string CallOf(const std::string& injected) {
    const std::size_t start = injected.find(' ', injected.find(' ') + 1) + 1;
    return injected.substr(start, injected.find(':') - start);
}

class FaultSweepTest : public ::testing::TestWithParam<Generation> {};

TEST_P(FaultSweepTest, EveryFailingHostCallEndsCleanlyWithTheFirstError) {
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.what);
        long count = 0;
        {
            KnotwellScene clean(GetParam());
            scenario.arrange(clean);
            const long start = clean.host().calls().total();
            ASSERT_EQ(scenario.run(clean).reply.err, PF_Err_NONE);
            count = clean.host().calls().total() - start;
            ASSERT_EQ(clean.Finish(), "");
        }
        ASSERT_GT(count, 20);
        for (long n = 1; n <= count; ++n) {
            KnotwellScene scene(GetParam());
            scenario.arrange(scene);
            scene.host().faults().fail_nth = scene.host().calls().total() + n;
            scene.host().faults().fail_nth_code = kInjected;
            const Outcome outcome = scenario.run(scene);
            ASSERT_EQ(scene.host().calls().injected().size(), 1u) << "call " << n;
            const std::string call = CallOf(scene.host().calls().injected()[0]);
            SCOPED_TRACE("call " + std::to_string(n) + " " + call);
            EXPECT_EQ(outcome.reply.err, ExpectedError(scenario, call));
            ExpectShown(scenario, call, outcome);
            EXPECT_EQ(scene.host().ledger().OpenCount("param checkout"), 0u);
            EXPECT_EQ(scene.Finish(), "");
            EXPECT_TRUE(scene.host().ledger().Faults().empty());
        }
    }
}

TEST_P(FaultSweepTest, PointerCallsGivingNothingEndCleanly) {
    for (const Scenario& scenario : kScenarios) {
        for (const char* call : {"host_new_handle", "host_lock_handle", "AcquireSuite"}) {
            SCOPED_TRACE(std::string(scenario.what) + ", " + call);
            KnotwellScene scene(GetParam());
            scenario.arrange(scene);
            const PF_Handle sequence_data = scene.fx().sequence_data();
            const long before = scene.host().calls().CallsOf(call);
            scene.host().faults().null_result_named.insert(call);
            const Outcome outcome = scenario.run(scene);
            scene.host().faults().null_result_named.clear();
            // The parameter handler locks no handle.
            if (scene.host().calls().CallsOf(call) == before) continue;
            EXPECT_EQ(outcome.reply.err, ExpectedError(scenario, call));
            ExpectShown(scenario, call, outcome);
            // Without a new snapshot block the old one stays.
            if (scenario.parameter_handler && outcome.reply.err == PF_Err_NONE) {
                EXPECT_EQ(scene.fx().sequence_data(), sequence_data);
            }
            EXPECT_EQ(scene.Finish(), "");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Generations, FaultSweepTest,
                         ::testing::Values(Generation::kCurrent, Generation::kLegacy), test::GenerationName);

}  // namespace
}  // namespace knotwell
