#include <gtest/gtest.h>

#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {
namespace {

TEST(Ledger, CleanRunReportsNothing) {
    Host host;
    const PF_UtilCallbacks& utils = UtilCallbacks();
    PF_Handle handle = utils.host_new_handle(16);
    ASSERT_NE(utils.host_lock_handle(handle), nullptr);
    utils.host_unlock_handle(handle);
    utils.host_dispose_handle(handle);
    EXPECT_EQ(host.LeakReport(), "");
}

TEST(Ledger, ReportsALeakedHandleWithItsLocks) {
    Host host;
    PF_Handle handle = UtilCallbacks().host_new_handle(24);
    UtilCallbacks().host_lock_handle(handle);
    EXPECT_EQ(host.LeakReport(), "leaked handle " + Ledger::IdOf(handle) +
                                     " from host_new_handle [24 bytes, locked 1x]\n");
}

TEST(Ledger, ReportsALeakedSuiteAsOftenAsItWasAcquired) {
    Host host;
    const void* table = nullptr;
    BasicSuite().AcquireSuite("PF ANSI Suite", 1, &table);
    BasicSuite().AcquireSuite("PF ANSI Suite", 1, &table);
    BasicSuite().ReleaseSuite("PF ANSI Suite", 1);
    BasicSuite().ReleaseSuite("PF ANSI Suite", 1);
    BasicSuite().AcquireSuite("PF ANSI Suite", 1, &table);
    EXPECT_EQ(host.LeakReport(), "leaked suite PF ANSI Suite v1 from AcquireSuite\n");
}

TEST(Ledger, DisposeDropsLocksAndASecondDisposeIsReportedNotActedOn) {
    Host host;
    const PF_UtilCallbacks& utils = UtilCallbacks();
    PF_Handle handle = utils.host_new_handle(4);
    utils.host_lock_handle(handle);
    utils.host_dispose_handle(handle);
    utils.host_dispose_handle(handle);
    // A later block never takes the disposed handle's place.
    PF_Handle other = utils.host_new_handle(4);
    EXPECT_NE(other, handle);
    utils.host_dispose_handle(other);

    EXPECT_EQ(host.LeakReport(), "fault: host_dispose_handle: handle " + Ledger::IdOf(handle) +
                                     " is not open (released twice, or never handed out)\n");
}

TEST(Ledger, UseOfAForeignHandleIsAFault) {
    Host host;
    void* block = nullptr;
    PF_Handle foreign = &block;
    EXPECT_EQ(UtilCallbacks().host_lock_handle(foreign), nullptr);
    EXPECT_EQ(UtilCallbacks().host_get_handle_size(foreign), 0u);
    EXPECT_EQ(host.ledger().Faults().size(), 2u);
}

TEST(Ledger, OpenKindsAreCountedAndClosedByKindAndId) {
    Ledger ledger;
    int stream = 0;
    ledger.Open("stream", &stream, "AEGP_GetNewEffectStreamByIndex");
    EXPECT_TRUE(ledger.IsOpen("stream", &stream));
    EXPECT_FALSE(ledger.Close("mask", &stream, "AEGP_DisposeMask"));
    EXPECT_TRUE(ledger.Close("stream", &stream, "AEGP_DisposeStream"));
    EXPECT_EQ(ledger.OpenCount("stream"), 0u);
    EXPECT_EQ(ledger.Faults().size(), 1u);
}

}  // namespace
}  // namespace knotwell::host
