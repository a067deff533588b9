// A host with the test effect loaded and applied once to a layer of ten
// frames, and short ways to reach the AEGP suites as the plug-ins do.
#pragma once

#include <string>

#include "headless_host/driving/effect_type.h"
#include "headless_host/evaluation/project.h"
#include "headless_host/host.h"
#include "headless_host/suites/aegp_suites.h"
#include "headless_host/tests/test_effect_folder.h"

namespace knotwell::host {

// The test effect's parameters.
constexpr PF_ParamIndex kAmount = 1;  // slider, default 5
constexpr PF_ParamIndex kMode = 2;    // popup "One|Two|Three", cannot vary in time
constexpr PF_ParamIndex kWhere = 3;   // point, default (3, 4)

class ProjectTest : public TestEffectFolder {
protected:
    void SetUp() override {
        TestEffectFolder::SetUp();
        type_ = &host_.Load(current_);
        layer_ = &project().AddLayer({.name = "Solid", .duration = 10});
        fx_ = &project().ApplyEffect(*layer_, "Current");
        id_ = type_->plugin_id();
    }

    Project& project() { return host_.project(); }

    AEGP_EffectRefH NewSelf() {
        AEGP_EffectRefH effect = nullptr;
        EXPECT_EQ(PFInterfaceSuite().AEGP_GetNewEffectForEffect(id_, fx_->effect_ref(), &effect), PF_Err_NONE);
        return effect;
    }
    AEGP_StreamRefH NewParamStream(AEGP_EffectRefH effect, PF_ParamIndex index) {
        AEGP_StreamRefH stream = nullptr;
        EXPECT_EQ(StreamSuite().AEGP_GetNewEffectStreamByIndex(id_, effect, index, &stream), PF_Err_NONE);
        return stream;
    }
    AEGP_StreamRefH NewMaskStream(std::size_t mask_index) {
        AEGP_MaskRefH mask = nullptr;
        EXPECT_EQ(LayerMaskSuite().AEGP_GetLayerMaskByIndex(Layer(), static_cast<A_long>(mask_index), &mask),
                  PF_Err_NONE);
        AEGP_StreamRefH stream = nullptr;
        EXPECT_EQ(StreamSuite().AEGP_GetNewMaskStream(id_, mask, AEGP_MaskStream_OUTLINE, &stream), PF_Err_NONE);
        LayerMaskSuite().AEGP_DisposeMask(mask);
        return stream;
    }
    AEGP_StreamValue2 NewValue(AEGP_StreamRefH stream, A_long time, bool pre_expression = true) {
        AEGP_StreamValue2 value{};
        const A_Time at{time, project().composition().time_scale};
        EXPECT_EQ(StreamSuite().AEGP_GetNewStreamValue(id_, stream, AEGP_LTimeMode_LayerTime, &at, pre_expression,
                                                       &value),
                  PF_Err_NONE);
        return value;
    }
    double ReadNumber(AEGP_StreamRefH stream, A_long time, bool pre_expression = true) {
        AEGP_StreamValue2 value = NewValue(stream, time, pre_expression);
        StreamSuite().AEGP_DisposeStreamValue(&value);
        return value.val.one_d;
    }
    // The plug-ins' own blocks live until their setdown.
    std::string ReportAfterShutdown() {
        host_.Shutdown();
        return host_.LeakReport();
    }
    AEGP_LayerH Layer() { return reinterpret_cast<AEGP_LayerH>(layer_); }

    Host host_;
    EffectType* type_ = nullptr;
    project::Layer* layer_ = nullptr;
    EffectInstance* fx_ = nullptr;
    AEGP_PluginID id_ = 0;
};

inline project::MaskOutline Square(double size) {
    return {{{0, 0, 0, 0, 0, 0}, {size, 0, 0, 0, 0, 0}, {size, size, 0, 0, 0, 0}, {0, size, 0, 0, 0, 0}}, false};
}

}  // namespace knotwell::host
