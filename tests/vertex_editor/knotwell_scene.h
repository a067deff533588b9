// A fresh headless host with the real Knotwell plug-in applied to a layer,
// and the short ways its tests set controls and masks, read them back and
// send a pre-render on its own (the render that follows it is the frame's
// business and tested there).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "frame/host/pf_smart_render.h"
#include "headless_host/driving/effect_instance.h"
#include "headless_host/evaluation/project.h"
#include "headless_host/host.h"
#include "vertex_editor/params.h"

namespace knotwell::test {

// Knotwell's twelve controls as stream values: full-resolution pixels and
// degrees. The defaults are a fresh instance's.
struct Controls {
    double index = -1;
    double no = 0;
    AEGP_TwoDVal point{};
    double coordinate = kKnotwellCartesian;
    AEGP_TwoDVal tan_in{};
    AEGP_TwoDVal tan_out{};
    double in_radius = 0;
    double in_angle = 0;
    double out_radius = 0;
    double out_angle = 0;
    double symmetric = 0;
    double on = 0;
};

// `count` vertices, each different in every component: vertex i sits at
// (10 i + 1, 20 i + 2) with in tangent (i + 1, -2) and out tangent (-3, i + 4).
project::MaskOutline Outline(int count, bool open = false);

struct PreRenderReply {
    host::Reply reply;
    PF_PreRenderOutput output{};
    bool record_set = false;  // pre_render_data held a handle
};

// Names the instances of a test parameterised by the interface generation.
inline std::string GenerationName(const ::testing::TestParamInfo<host::Generation>& info) {
    return std::string(host::NameOf(info.param));
}

class KnotwellScene {
public:
    explicit KnotwellScene(host::Generation generation = host::Generation::kCurrent);

    host::Host& host() { return host_; }
    host::Project& project() { return host_.project(); }
    project::Layer& layer() { return *layer_; }
    host::EffectInstance& fx() { return *fx_; }

    project::Mask& AddMask(const project::MaskOutline& outline, bool roto_bezier = false);

    // Sets controls at the current time as an expression or a link would:
    // without telling the plug-in.
    void Set(PF_ParamIndex index, const project::StreamValue& value);
    void Apply(const Controls& controls);

    // Values before expressions at the current time.
    double Number(PF_ParamIndex index);
    AEGP_TwoDVal Point(PF_ParamIndex index);
    project::MaskOutline OutlineOf(std::size_t mask);

    // PF_Cmd_SMART_PRE_RENDER at the current time, then the record's
    // release, as the host calls it once the frame is done.
    PreRenderReply PreRender();

    // Sets everything down; the leak report and the faults of the whole run.
    std::string Finish();

private:
    host::Host host_;
    project::Layer* layer_ = nullptr;
    host::EffectInstance* fx_ = nullptr;
};

}  // namespace knotwell::test
