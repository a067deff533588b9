// The parameter handler of the maker and the baker: "Index" greyed out
// while "All" is on, and the parameter-state snapshot kept in the sequence
// data, in both interface generations.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "headless_host/driving/effect_type.h"
#include "headless_host/host.h"
#include "tests/support/plugins.h"

namespace knotwell {
namespace {

using host::EffectInstance;
using host::Generation;
using host::Host;
using host::Reply;

constexpr PF_ParamIndex kIndex = 1;
constexpr PF_ParamIndex kAll = 2;

class SnapshotTest : public ::testing::TestWithParam<std::tuple<std::string_view, Generation>> {
protected:
    void SetUp() override {
        host_ = std::make_unique<Host>(std::get<1>(GetParam()));
        instance_ = &host_->Load(test::PluginPath(std::get<0>(GetParam()), std::get<1>(GetParam()))).NewInstance();
    }
    void TearDown() override {
        host_->Shutdown();
        EXPECT_EQ(host_->LeakReport(), "");
    }
    bool IndexGreyed() { return (instance_->ui(kIndex).ui_flags & PF_PUI_DISABLED) != 0; }

    std::unique_ptr<Host> host_;
    EffectInstance* instance_ = nullptr;
};

TEST_P(SnapshotTest, AllGreysOutIndexWithoutChangingIt) {
    const double index = instance_->ParamAt(kIndex, 0).u.sd.value;
    EXPECT_EQ(instance_->UpdateParamsUi().err, PF_Err_NONE);
    EXPECT_FALSE(IndexGreyed());
    instance_->SetNumber(kAll, 1);
    const Reply on = instance_->UserChangedParam();
    EXPECT_EQ(on.err, PF_Err_NONE);
    EXPECT_EQ(on.out.out_flags, PF_OutFlag_REFRESH_UI);
    EXPECT_TRUE(IndexGreyed());
    EXPECT_EQ(instance_->ui(kIndex).name, "Index");
    instance_->SetNumber(kAll, 0);
    instance_->UserChangedParam();
    EXPECT_FALSE(IndexGreyed());
    EXPECT_EQ(instance_->ParamAt(kIndex, 0).u.sd.value, index);
}

TEST_P(SnapshotTest, SnapshotIsReplacedOnlyWhenParametersChanged) {
    const PF_Handle placeholder = instance_->sequence_data();
    instance_->UserChangedParam();
    const PF_Handle first = instance_->sequence_data();
    EXPECT_NE(first, placeholder);
    EXPECT_EQ(host_->handles().SizeOf(first), sizeof(PF_State));
    EXPECT_FALSE(host_->handles().IsAlive(placeholder));

    instance_->UpdateParamsUi();
    EXPECT_EQ(instance_->sequence_data(), first);

    instance_->SetNumber(kAll, 1);
    instance_->UserChangedParam();
    EXPECT_NE(instance_->sequence_data(), first);
}

TEST_P(SnapshotTest, NoMemoryForASnapshotKeepsTheOldOne) {
    instance_->UserChangedParam();
    const PF_Handle kept = instance_->sequence_data();
    instance_->SetNumber(kAll, 1);
    host_->faults().no_memory = true;
    const Reply reply = instance_->UserChangedParam();
    host_->faults().no_memory = false;
    EXPECT_EQ(reply.err, PF_Err_NONE);
    EXPECT_EQ(instance_->sequence_data(), kept);
    EXPECT_TRUE(IndexGreyed());
}

TEST_P(SnapshotTest, FailuresShowErrorAndLeaveNoBlock) {
    for (const char* call : {"PF_HasParamChanged", "PF_GetCurrentState", "PF_UpdateParamUI"}) {
        SCOPED_TRACE(call);
        instance_->SetNumber(kAll, 1);  // a change, so a snapshot is taken
        host_->faults().fail_named[call] = 1234;
        const Reply reply = instance_->UserChangedParam();
        host_->faults().fail_named.clear();
        EXPECT_EQ(reply.err, 1234);
        EXPECT_EQ(reply.return_msg(), "ERROR");
        EXPECT_EQ(reply.out.out_flags, PF_OutFlag_DISPLAY_ERROR_MESSAGE | PF_OutFlag_REFRESH_UI);
        EXPECT_EQ(host_->ledger().OpenCount("handle"), 2u) << "only the global and the sequence block";
    }
}

INSTANTIATE_TEST_SUITE_P(
    MakerAndBaker, SnapshotTest,
    ::testing::Combine(::testing::Values("KnotwellMaker", "KnotwellBaker"),
                       ::testing::Values(Generation::kCurrent, Generation::kLegacy)),
    [](const auto& info) {
        return std::string(std::get<0>(info.param)) + "_" + std::string(host::NameOf(std::get<1>(info.param)));
    });

}  // namespace
}  // namespace knotwell
