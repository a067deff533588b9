// Every host call of a whole make, then of a whole bake, fails once in
// turn: the plug-in returns the first error, gives back everything it
// obtained, and a failed bake leaves each mask with the keys it had.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "tests/support/scene.h"

namespace knotwell::test {
namespace {

constexpr PF_Err kCode = 1234;

// Calls whose failure the plug-ins take into no error code: the Info
// panel, the notices and names, the installed key of a layer effect, and
// the releases of a suite or a check-in, which nothing can be done about;
// a handle's unlock and dispose have no result to fail with.
const std::set<std::string, std::less<>> kUncounted = {
    "PF_InfoDrawText", "sprintf",       "strcpy",             "AEGP_GetInstalledKeyFromLayerEffect",
    "ReleaseSuite",    "checkin_param", "host_unlock_handle", "host_dispose_handle"};
// Calls that return a pointer fail with a null result and no code: the
// plug-in names the failure itself.
const std::set<std::string, std::less<>> kNullResults = {"host_new_handle", "host_lock_handle"};

// "call 7 host_new_handle: error 1234" -> "host_new_handle".
std::string InjectedCall(host::Host& host) {
    if (host.calls().injected().empty()) return "";
    const std::string& line = host.calls().injected().front();
    const std::size_t from = line.find(' ', 5) + 1;
    return line.substr(from, line.find(':') - from);
}

// Builds the scene up to the action and returns the effect whose next
// pre-render runs it.
using Arrange = std::function<EffectInstance&(Scene&)>;
// Checks the project after the action ended with `err`, `failed` being the
// call that failed.
using Check = std::function<void(Scene&, PF_Err err, const std::string& failed)>;

// Three frames keep a bake's calls few.
constexpr Ticks kFrames = 3;

// The action once without a failure, to count its host calls, then once per
// call with that call failing.
void Sweep(const Arrange& arrange, const Check& check) {
    long calls = 0;
    {
        Scene clean(Generation::kCurrent, kAllPlugins, kFrames);
        EffectInstance& actor = arrange(clean);
        const long before = clean.host.calls().total();
        ASSERT_EQ(actor.Render(0).err(), PF_Err_NONE);
        calls = clean.host.calls().total() - before;
    }
    ASSERT_GT(calls, 0);
    for (long k = 1; k <= calls; ++k) {
        Scene s(Generation::kCurrent, kAllPlugins, kFrames);
        EffectInstance& actor = arrange(s);
        s.host.faults().fail_nth = s.host.calls().total() + k;
        s.host.faults().fail_nth_code = kCode;
        const PF_Err err = actor.Render(0).err();
        const std::string failed = InjectedCall(s.host);
        SCOPED_TRACE("call " + std::to_string(k) + " of " + std::to_string(calls) + ": " + failed);
        ASSERT_FALSE(failed.empty());
        if (failed == "AcquireSuite") {
            EXPECT_EQ(err, PF_Err_BAD_CALLBACK_PARAM) << "a missing suite ends the command";
        } else if (kNullResults.contains(failed)) {
            EXPECT_NE(err, PF_Err_NONE);
        } else if (!kUncounted.contains(failed)) {
            EXPECT_EQ(err, kCode) << "the first error is returned";
        }
        check(s, err, failed);
        // A give-back the host refuses is still carried out: nothing stays open.
        EXPECT_EQ(s.LeakReportAfterShutdown(), "");
    }
}

void AddTwoMasks(Scene& s) {
    s.AddMask(ClosedFour());
    s.AddMask(OpenFive());
}

TEST(FaultSweepTest, AWholeMake) {
    Sweep(
        [](Scene& s) -> EffectInstance& {
            AddTwoMasks(s);
            EffectInstance& maker = s.ApplyMaker(-1, true);
            maker.SetControl(kMakerMake, kExecute);
            return maker;
        },
        [](Scene& s, PF_Err err, const std::string&) {
            // The instances applied before the failure stay; the baker comes last.
            const std::size_t applied = s.EffectCount() - 1;
            EXPECT_LE(applied, 10u);
            if (!err) {
                EXPECT_EQ(applied, 10u);
            }
        });
}

// Two masks made; vertex 1 of mask 0 animated; the baker set to bake both.
EffectInstance& ArrangeBake(Scene& s) {
    AddTwoMasks(s);
    s.ApplyMaker(-1, true).SetControl(kMakerMake, kExecute);
    s.Render(0);
    EffectInstance& moving = *s.Instances(kKnotwell).at(1);
    moving.SetKeyframe(kKnotwellPoint, 0, AEGP_TwoDVal{50, 10});
    moving.SetKeyframe(kKnotwellPoint, 2, AEGP_TwoDVal{52, 12});
    EffectInstance& baker = s.Effect(s.EffectCount() - 1);
    baker.SetControl(kBakerBake, kExecute);
    return baker;
}

TEST(FaultSweepTest, AWholeBake) {
    // The keys of the clean bake.
    std::map<Ticks, project::StreamValue> clean_keys[2];
    {
        Scene clean(Generation::kCurrent, kAllPlugins, kFrames);
        ASSERT_EQ(ArrangeBake(clean).Render(0).err(), PF_Err_NONE);
        for (std::size_t m = 0; m < 2; ++m) clean_keys[m] = clean.mask(m).outline.Keys();
    }
    Sweep(ArrangeBake, [&](Scene& s, PF_Err, const std::string& failed) {
        // An effect whose key cannot be read drives nothing: its vertex is
        // baked as the mask has it.
        const bool one_undriven = failed == "AEGP_GetInstalledKeyFromLayerEffect";
        for (std::size_t m = 0; m < 2; ++m) {
            SCOPED_TRACE("mask " + std::to_string(m));
            const auto& keys = s.mask(m).outline.Keys();
            // All the keys of the clean bake, or none.
            if (!keys.empty()) {
                ASSERT_EQ(keys.size(), clean_keys[m].size());
                if (one_undriven) continue;
                for (const auto& [time, key] : keys) EXPECT_TRUE(project::SameValue(key, clean_keys[m].at(time)));
                continue;
            }
            // Unbaked, the mask is still driven by all its instances.
            for (const EffectInstance* fx : s.Instances(kKnotwell)) {
                if (Number(*fx, kKnotwellIndex) == static_cast<double>(m)) {
                    EXPECT_TRUE(Scene::Active(*fx));
                }
            }
        }
    });
}

}  // namespace
}  // namespace knotwell::test
