// The commands every plug-in answers alike, in both interface generations:
// dispatch, About, global and sequence setup and setdown, the general
// command of the older host, and the suite cache behind them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "headless_host/driving/effect_type.h"
#include "headless_host/host.h"
#include "tests/support/plugins.h"

namespace knotwell {
namespace {

using host::EffectInstance;
using host::EffectType;
using host::Generation;
using host::Host;
using host::Reply;
using test::PluginPath;

class CommandsTest : public ::testing::TestWithParam<Generation> {
protected:
    Generation generation() const { return GetParam(); }
    EffectType& Load(Host& host, std::string_view name = "Knotwell") {
        return host.Load(PluginPath(name, generation()));
    }
    bool legacy() const { return generation() == Generation::kLegacy; }
};

TEST_P(CommandsTest, SelectorsOutsideTheTableAreIgnored) {
    Host host(generation());
    EffectType& type = Load(host);
    EffectInstance& instance = type.NewInstance();
    for (const PF_Cmd cmd : {2, 7, 9, 10, 11, 12, 15, 16, 18, 19, 20, 21, 22, 25, 99, -1}) {
        const long before = host.calls().total();
        const Reply reply = instance.Send(cmd);
        EXPECT_EQ(reply.err, PF_Err_NONE) << cmd;
        EXPECT_EQ(reply.return_msg(), "") << cmd;
        EXPECT_EQ(reply.out.out_flags, 0) << cmd;
        EXPECT_EQ(host.calls().total(), before) << "selector " << cmd << " touched the host";
    }
    // The general command belongs to the older host only.
    const Reply general = instance.Send(PF_Cmd_COMPLETELY_GENERAL, const_cast<char*>("hi"));
    EXPECT_EQ(general.return_msg(), legacy() ? "hi" : "");
    host.Shutdown();
    EXPECT_EQ(host.LeakReport(), "");
}

TEST_P(CommandsTest, AboutNamesThePlugInAndItsVersion) {
    const std::string version = legacy() ? ", v1.0\rImagination!" : ", v1.00\rImagination!";
    const std::pair<std::string_view, std::string> expected[] = {
        {"Knotwell", "Knotwell" + version},
        {"KnotwellMaker", "Knotwell Maker" + version},
        {"KnotwellBaker", "Knotwell Baker" + version},
    };
    for (const auto& [name, text] : expected) {
        Host host(generation());
        const Reply about = Load(host, name).About();
        EXPECT_EQ(about.err, PF_Err_NONE);
        EXPECT_EQ(about.return_msg(), text);
        EXPECT_EQ(about.out.out_flags, 0);
        host.Shutdown();
        EXPECT_EQ(host.LeakReport(), "");
    }
}

TEST_P(CommandsTest, AboutWithoutSuitesDependsOnWhereSprintfComesFrom) {
    Host host(generation());
    host.faults().no_basic_suite = true;
    // The current host's sprintf is a callback; the older one's is a suite.
    EXPECT_EQ(Load(host).About().err, legacy() ? PF_Err_BAD_CALLBACK_PARAM : PF_Err_NONE);
}

TEST_P(CommandsTest, GlobalSetupReportsVersionFlagsAndRegisters) {
    Host host(generation());
    EffectType& type = Load(host);
    const Reply setup = type.GlobalSetup();
    EXPECT_EQ(setup.err, PF_Err_NONE);
    EXPECT_EQ(setup.out.my_version, 525825u);
    EXPECT_EQ(setup.out.out_flags, 0x06000000);
    EXPECT_EQ(setup.out.out_flags2, 0x1400);
    EXPECT_EQ(type.registered_name(), "Error!");
    ASSERT_NE(type.global_data(), nullptr);
    EXPECT_EQ(*static_cast<AEGP_PluginID*>(*type.global_data()), type.plugin_id());
    host.Shutdown();
    EXPECT_EQ(host.LeakReport(), "");
}

// How global setup fails, what it returns, and that nothing is left behind.
struct SetupFault {
    const char* what;
    void (*arrange)(host::FaultPlan&);
    PF_Err expected;
    bool version_set;
};

const SetupFault kGlobalSetupFaults[] = {
    {"no basic suite", [](host::FaultPlan& f) { f.no_basic_suite = true; }, PF_Err_BAD_CALLBACK_PARAM, false},
    {"no block", [](host::FaultPlan& f) { f.no_memory = true; }, PF_Err_INTERNAL_STRUCT_DAMAGED, true},
    {"block cannot be locked", [](host::FaultPlan& f) { f.null_result_named.insert("host_lock_handle"); },
     PF_Err_OUT_OF_MEMORY, true},
    {"registration refused", [](host::FaultPlan& f) { f.fail_named["AEGP_RegisterWithAEGP"] = 1234; }, 1234, true},
    {"utility suite withheld",
     [](host::FaultPlan& f) { f.withheld_suites.insert({"AEGP Utility Suite", 7}); }, PF_Err_BAD_CALLBACK_PARAM,
     true},
};

TEST_P(CommandsTest, FailedGlobalSetupInstallsNothingAndLeavesNothing) {
    for (const SetupFault& fault : kGlobalSetupFaults) {
        SCOPED_TRACE(fault.what);
        Host host(generation());
        EffectType& type = Load(host);
        fault.arrange(host.faults());
        const Reply setup = type.GlobalSetup();
        EXPECT_EQ(setup.err, fault.expected);
        EXPECT_EQ(setup.out.my_version, fault.version_set ? 525825u : 0u);
        EXPECT_EQ(setup.out.global_data, nullptr);
        host.Shutdown();
        EXPECT_EQ(host.LeakReport(), "");
    }
}

TEST_P(CommandsTest, SequenceSetupInstallsAZeroedStateSizedPlaceholder) {
    Host host(generation());
    EffectInstance& instance = Load(host).NewInstance();
    const PF_Handle placeholder = instance.sequence_data();
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(host.handles().SizeOf(placeholder), sizeof(PF_State));
    const PF_State zero{};
    EXPECT_EQ(std::memcmp(*placeholder, &zero, sizeof zero), 0);

    // Resetup drops whatever the instance had for a fresh placeholder.
    EXPECT_EQ(instance.SequenceResetup().err, PF_Err_NONE);
    EXPECT_NE(instance.sequence_data(), nullptr);
    EXPECT_FALSE(host.handles().IsAlive(placeholder));

    host.faults().no_memory = true;
    EXPECT_EQ(instance.SequenceResetup().err, PF_Err_OUT_OF_MEMORY);
    EXPECT_EQ(instance.sequence_data(), nullptr);
    host.faults().no_memory = false;

    // Setdown without sequence data touches no suite.
    const long before = host.calls().total();
    EXPECT_EQ(instance.Send(PF_Cmd_SEQUENCE_SETDOWN).err, PF_Err_NONE);
    EXPECT_EQ(host.calls().total(), before);
    host.Shutdown();
    EXPECT_EQ(host.LeakReport(), "");
}

TEST_P(CommandsTest, GlobalSetdownIsAnsweredByTheCurrentHostOnly) {
    Host host(generation());
    EffectType& type = Load(host);
    type.GlobalSetup();
    const long before = host.calls().CallsOf("host_dispose_handle");
    type.Send(PF_Cmd_GLOBAL_SETDOWN, nullptr);
    EXPECT_EQ(host.calls().CallsOf("host_dispose_handle") - before, legacy() ? 0 : 1);
}

TEST_P(CommandsTest, GeneralCommandNeverOverrunsTheMessage) {
    if (!legacy()) GTEST_SKIP() << "only the older host sends the general command";
    Host host(generation());
    EffectInstance& instance = Load(host).NewInstance();
    const std::string long_text(300, 'x');
    EXPECT_EQ(instance.Send(PF_Cmd_COMPLETELY_GENERAL, const_cast<char*>(long_text.c_str())).return_msg(),
              std::string(255, 'x'));
    const Reply empty = instance.Send(PF_Cmd_COMPLETELY_GENERAL, nullptr);
    EXPECT_EQ(empty.err, PF_Err_NONE);
    EXPECT_EQ(empty.return_msg(), "");
    host.Shutdown();
    EXPECT_EQ(host.LeakReport(), "");
    EXPECT_TRUE(host.ledger().Faults().empty());
}

TEST_P(CommandsTest, SuitesAreGivenBackUnderTheNameAndVersionTheyWereHadBy) {
    // The maker's parameter handler uses the parameter utilities twice and
    // the handle suite: each is acquired once and released once.
    Host host(generation());
    EffectInstance& instance = Load(host, "KnotwellMaker").NewInstance();
    const long acquired = host.calls().CallsOf("AcquireSuite");
    const long released = host.calls().CallsOf("ReleaseSuite");
    EXPECT_EQ(instance.UserChangedParam().err, PF_Err_NONE);
    EXPECT_EQ(host.calls().CallsOf("AcquireSuite") - acquired, 2);
    EXPECT_EQ(host.calls().CallsOf("ReleaseSuite") - released, 2);
    EXPECT_EQ(host.ledger().OpenCount("suite"), 0u);

    // A suite that cannot be had ends the command with 516, and the suites
    // had before it go back.
    host.faults().withheld_suites.insert({"PF Handle Suite", legacy() ? 1 : 2});
    EXPECT_EQ(instance.UserChangedParam().err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.ledger().OpenCount("suite"), 0u);
    EXPECT_EQ(host.refused_suites().back(), legacy() ? "PF Handle Suite v1" : "PF Handle Suite v2");
    host.faults().withheld_suites.clear();
    host.Shutdown();
    EXPECT_EQ(host.LeakReport(), "");
}

INSTANTIATE_TEST_SUITE_P(Generations, CommandsTest,
                         ::testing::Values(Generation::kCurrent, Generation::kLegacy),
                         [](const auto& info) { return std::string(host::NameOf(info.param)); });

}  // namespace
}  // namespace knotwell
