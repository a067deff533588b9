#include <gtest/gtest.h>

#include "headless_host/driving/effect_type.h"
#include "headless_host/host.h"
#include "headless_host/suites/host_suites.h"
#include "headless_host/tests/test_effect_folder.h"

namespace knotwell::host {
namespace {

using DrivingTest = TestEffectFolder;

TEST_F(DrivingTest, ScanListsTheInstalledEffects) {
    const auto effects = ScanPluginFolder(folder_);
    ASSERT_EQ(effects.size(), 2u);
    EXPECT_EQ(effects[0].display_name, "Current");
    EXPECT_EQ(effects[0].match_name, "Current by Tests");
    EXPECT_EQ(effects[0].category, "Morvex");
    EXPECT_EQ(effects[0].generation, Generation::kCurrent);
    EXPECT_EQ(effects[1].generation, Generation::kLegacy);
    EXPECT_EQ(effects[1].version, 525825u);
}

TEST_F(DrivingTest, LifeOfAnInstanceLeavesNothingBehind) {
    Host host;
    EffectType& type = host.Load(current_);
    EXPECT_EQ(type.About().return_msg(), "Test effect v1");

    EffectInstance& instance = type.NewInstance();
    EXPECT_NE(type.plugin_id(), 0);
    EXPECT_EQ(type.registered_name(), "Test");
    for (const Reply& reply : instance.setup_replies()) EXPECT_EQ(reply.err, PF_Err_NONE);
    ASSERT_EQ(instance.num_params(), 4);
    EXPECT_EQ(instance.ui(2).name, "Mode");
    EXPECT_STREQ(instance.ParamAt(2, 0).u.pd.u.namesptr, "One|Two|Three");

    for (const PF_PixelFormat format : {PF_PixelFormat_ARGB32, PF_PixelFormat_ARGB64, PF_PixelFormat_ARGB128}) {
        instance.SetInput(9, 5, format);
        FillPattern(instance.input(), 7);
        const FrameReply frame = instance.Render(3);
        EXPECT_EQ(frame.err(), PF_Err_NONE);
        ASSERT_NE(instance.output(), nullptr);
        EXPECT_TRUE(SamePixels(instance.input().effect_world(), instance.output()->effect_world()));
        EXPECT_EQ(frame.pre_render_output.result_rect.right, 9);
    }

    EXPECT_EQ(instance.UserChangedParam().err, PF_Err_NONE);
    EXPECT_EQ(instance.ui(1).name, "Amount (off)");
    EXPECT_EQ(instance.ui(1).ui_flags & PF_PUI_DISABLED, PF_PUI_DISABLED);

    host.Shutdown();
    EXPECT_EQ(host.LeakReport(), "");
    EXPECT_GT(host.calls().CallsOf("copy"), 0);
}

TEST_F(DrivingTest, ParameterStateFollowsChanges) {
    Host host;
    EffectInstance& instance = host.Load(current_).NewInstance();
    PF_State state{};
    const PF_ParamUtilsSuite& utils = ParamUtilsSuite();
    ASSERT_EQ(utils.PF_GetCurrentState(instance.effect_ref(), &state), PF_Err_NONE);
    PF_Boolean changed = 1;
    EXPECT_EQ(utils.PF_HasParamChanged(instance.effect_ref(), &state, PF_ParamIndex_CHECK_ALL, &changed), PF_Err_NONE);
    EXPECT_FALSE(changed);

    instance.SetNumber(2, 2);
    utils.PF_HasParamChanged(instance.effect_ref(), &state, 1, &changed);
    EXPECT_FALSE(changed);
    utils.PF_HasParamChanged(instance.effect_ref(), &state, 2, &changed);
    EXPECT_TRUE(changed);
    EXPECT_EQ(instance.ParamAt(2, 0).u.pd.value, 2);
}

TEST_F(DrivingTest, ForeignOrShortStatesAreFaultedNotRead) {
    Host host;
    EffectInstance& instance = host.Load(current_).NewInstance();
    const PF_ParamUtilsSuite& utils = ParamUtilsSuite();
    PF_Handle placeholder = UtilCallbacks().host_new_handle(1);
    PF_State foreign{{1, 2, 3, 4}};
    PF_Boolean changed = 0;

    EXPECT_EQ(utils.PF_HasParamChanged(instance.effect_ref(), static_cast<PF_State*>(*placeholder),
                                       PF_ParamIndex_CHECK_ALL, &changed),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(utils.PF_HasParamChanged(instance.effect_ref(), &foreign, PF_ParamIndex_CHECK_ALL, &changed),
              PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_EQ(host.ledger().Faults().size(), 2u);
    UtilCallbacks().host_dispose_handle(placeholder);
}

TEST_F(DrivingTest, LegacyGlobalBlockIsReleasedByTheHost) {
    Host host;
    EffectType& type = host.Load(legacy_);
    type.NewInstance().UserChangedParam();
    EXPECT_EQ(type.generation(), Generation::kLegacy);
    host.Shutdown();
    EXPECT_EQ(host.LeakReport(), "");
    EXPECT_TRUE(host.refused_suites().empty());
}

TEST_F(DrivingTest, FailedPreRenderSkipsTheRenderButFreesItsData) {
    Host host;
    EffectInstance& instance = host.Load(current_).NewInstance();
    host.faults().fail_named["checkout_layer"] = PF_Err_INTERNAL_STRUCT_DAMAGED;
    const FrameReply frame = instance.Render(0);
    EXPECT_EQ(frame.err(), PF_Err_INTERNAL_STRUCT_DAMAGED);
    EXPECT_FALSE(frame.rendered);
    host.Shutdown();
    EXPECT_EQ(host.LeakReport(), "");
}

TEST_F(DrivingTest, NoBasicSuiteFailsGlobalSetup) {
    Host host;
    host.faults().no_basic_suite = true;
    EffectType& type = host.Load(current_);
    EXPECT_EQ(type.GlobalSetup().err, PF_Err_BAD_CALLBACK_PARAM);
    EXPECT_THROW(type.NewInstance(), std::runtime_error);
}

}  // namespace
}  // namespace knotwell::host
