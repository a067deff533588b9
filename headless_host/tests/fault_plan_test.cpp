#include <gtest/gtest.h>

#include "headless_host/core/world.h"
#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"

namespace knotwell::host {
namespace {

const PF_HandleSuite* AcquireHandleSuite(SPErr* err = nullptr) {
    const void* table = nullptr;
    const SPErr result = BasicSuite().AcquireSuite("PF Handle Suite", 2, &table);
    if (err) *err = result;
    return static_cast<const PF_HandleSuite*>(table);
}

TEST(FaultPlan, FailsTheNthCallOverAllCalls) {
    Host host;
    host.faults().fail_nth = 2;
    host.faults().fail_nth_code = PF_Err_INTERNAL_STRUCT_DAMAGED;
    const PF_HandleSuite* handles = AcquireHandleSuite();  // call 1
    ASSERT_NE(handles, nullptr);
    EXPECT_EQ(handles->host_new_handle(8), nullptr);       // call 2
    PF_Handle handle = handles->host_new_handle(8);        // call 3
    EXPECT_NE(handle, nullptr);
    handles->host_dispose_handle(handle);
    BasicSuite().ReleaseSuite("PF Handle Suite", 2);

    EXPECT_EQ(host.calls().total(), 5);
    EXPECT_EQ(host.calls().CallsOf("host_new_handle"), 2);
    EXPECT_EQ(host.calls().injected(), std::vector<std::string>{"call 2 host_new_handle: error 512"});
    EXPECT_EQ(host.LeakReport(), "");
}

TEST(FaultPlan, FailsEveryCallOfAName) {
    Host host;
    host.faults().fail_named["PF_GetPixelFormat"] = PF_Err_OUT_OF_MEMORY;
    World world(2, 2, PF_PixelFormat_ARGB32);
    PF_PixelFormat format = PF_PixelFormat_INVALID;
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(WorldSuite().PF_GetPixelFormat(world.get(), &format), PF_Err_OUT_OF_MEMORY);
    }
    EXPECT_EQ(format, PF_PixelFormat_INVALID);
    EXPECT_EQ(host.calls().injected().size(), 2u);
}

TEST(FaultPlan, NullResultGivesNullWithoutAnError) {
    Host host;
    host.faults().null_result_named = {"AcquireSuite", "host_lock_handle"};
    SPErr err = -1;
    EXPECT_EQ(AcquireHandleSuite(&err), nullptr);
    EXPECT_EQ(err, kSPNoError);

    PF_Handle handle = UtilCallbacks().host_new_handle(4);
    EXPECT_EQ(UtilCallbacks().host_lock_handle(handle), nullptr);
    UtilCallbacks().host_dispose_handle(handle);
    EXPECT_EQ(host.LeakReport(), "");
}

TEST(FaultPlan, WithheldSuiteIsRefusedOthersStayOffered) {
    Host host;
    host.faults().withheld_suites = {{"PF Handle Suite", 2}};
    SPErr err = kSPNoError;
    EXPECT_EQ(AcquireHandleSuite(&err), nullptr);
    EXPECT_NE(err, kSPNoError);
    EXPECT_EQ(host.refused_suites(), std::vector<std::string>{"PF Handle Suite v2"});

    const void* table = nullptr;
    EXPECT_EQ(BasicSuite().AcquireSuite("PF World Suite", 2, &table), kSPNoError);
    BasicSuite().ReleaseSuite("PF World Suite", 2);
}

TEST(FaultPlan, NoMemoryMakesNewHandleNull) {
    Host host;
    host.faults().no_memory = true;
    EXPECT_EQ(UtilCallbacks().host_new_handle(1), nullptr);
    EXPECT_EQ(host.LeakReport(), "");
}

}  // namespace
}  // namespace knotwell::host
