#include "tests/vertex_editor/knotwell_scene.h"

#include <stdexcept>

#include "headless_host/driving/callbacks.h"
#include "tests/support/plugins.h"

namespace knotwell::test {

project::MaskOutline Outline(int count, bool open) {
    project::MaskOutline outline;
    outline.open = open;
    for (int i = 0; i < count; ++i) {
        outline.vertices.push_back({10.0 * i + 1, 20.0 * i + 2, i + 1.0, -2, -3, i + 4.0});
    }
    return outline;
}

KnotwellScene::KnotwellScene(host::Generation generation) : host_(generation) {
    host_.Load(PluginPath("Knotwell", generation));
    layer_ = &project().AddLayer({.name = "Solid", .width = 200, .height = 100, .duration = 10});
    fx_ = &project().ApplyEffect(*layer_, "Knotwell");
}

project::Mask& KnotwellScene::AddMask(const project::MaskOutline& outline, bool roto_bezier) {
    return project().AddMask(*layer_, outline, roto_bezier);
}

void KnotwellScene::Set(PF_ParamIndex index, const project::StreamValue& value) {
    if (project().SetValue(fx_->Target(index), project().LayerTimeNow(*layer_), value) !=
        project::StreamStatus::kOk) {
        throw std::invalid_argument("control " + std::to_string(index) + " refuses the value");
    }
}

void KnotwellScene::Apply(const Controls& c) {
    Set(kKnotwellIndex, c.index);
    Set(kKnotwellNo, c.no);
    Set(kKnotwellPoint, c.point);
    Set(kKnotwellCoordinate, c.coordinate);
    Set(kKnotwellTanIn, c.tan_in);
    Set(kKnotwellTanOut, c.tan_out);
    Set(kKnotwellTanInRadius, c.in_radius);
    Set(kKnotwellTanInAngle, c.in_angle);
    Set(kKnotwellTanOutRadius, c.out_radius);
    Set(kKnotwellTanOutAngle, c.out_angle);
    Set(kKnotwellSymmetric, c.symmetric);
    Set(kKnotwellOn, c.on);
}

double KnotwellScene::Number(PF_ParamIndex index) {
    return std::get<double>(fx_->Control(index, project().LayerTimeNow(*layer_)));
}

AEGP_TwoDVal KnotwellScene::Point(PF_ParamIndex index) {
    return std::get<AEGP_TwoDVal>(fx_->Control(index, project().LayerTimeNow(*layer_)));
}

project::MaskOutline KnotwellScene::OutlineOf(std::size_t mask) {
    return std::get<project::MaskOutline>(
        layer_->masks.at(mask).outline.ValueAt(project().LayerTimeNow(*layer_)));
}

PreRenderReply KnotwellScene::PreRender() {
    const PF_EffectWorld& in = fx_->input().effect_world();
    PF_PreRenderInput input{};
    input.output_request.rect = {0, 0, in.width, in.height};
    input.output_request.channel_mask = 0xF;
    input.bitdepth = 8;
    PreRenderReply result;
    PF_PreRenderExtra extra{&input, &result.output, &host::PreRenderCallbacks()};
    result.reply = fx_->Send(PF_Cmd_SMART_PRE_RENDER, &extra);
    result.record_set = result.output.pre_render_data != nullptr;
    if (result.output.delete_pre_render_data_func) {
        result.output.delete_pre_render_data_func(result.output.pre_render_data);
    }
    result.output.pre_render_data = nullptr;
    return result;
}

std::string KnotwellScene::Finish() {
    host_.Shutdown();
    return host_.LeakReport();
}

}  // namespace knotwell::test
