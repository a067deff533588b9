// Prints what the bake of one 50-vertex mask, every vertex driven by its
// own Knotwell instance, over a 300-frame layer costs in the headless host:
// host calls by name and wall time. The instances come from a make; every
// "Point" is keyframed so each frame's shape differs.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <utility>
#include <vector>

#include "baker/params.h"
#include "headless_host/driving/effect_instance.h"
#include "headless_host/evaluation/project.h"
#include "headless_host/host.h"
#include "maker/params.h"
#include "tests/support/plugins.h"
#include "vertex_editor/params.h"

namespace {

using namespace knotwell;

constexpr int kVertices = 50;
constexpr project::Ticks kFrames = 300;

project::MaskOutline Circle() {
    project::MaskOutline circle;
    for (int v = 0; v < kVertices; ++v) {
        const double a = 2 * std::numbers::pi * v / kVertices;
        circle.vertices.push_back({100 + 80 * std::cos(a), 100 + 80 * std::sin(a), -5, 0, 5, 0});
    }
    return circle;
}

int Run() {
    host::Host host;
    for (const std::string_view name : test::kPluginNames) host.Load(test::PluginPath(name, host::Generation::kCurrent));
    host::Project& project = host.project();
    project::Layer& layer = project.AddLayer({.name = "Solid", .width = 200, .height = 200, .duration = kFrames});
    project.AddMask(layer, Circle());

    host::EffectInstance& maker = project.ApplyEffect(layer, "Knotwell Maker");
    maker.SetControl(kMakerIndex, 0);
    maker.SetControl(kMakerMake, 2);
    if (project.RenderFrame(layer, 0).FirstError() != PF_Err_NONE) return 1;
    host::EffectInstance& baker = project.Instance(layer, layer.effects.size() - 1);
    for (std::size_t i = 1; i + 1 < layer.effects.size(); ++i) {
        host::EffectInstance& fx = project.Instance(layer, i);
        const auto start = std::get<AEGP_TwoDVal>(fx.Control(kKnotwellPoint, 0));
        fx.SetKeyframe(kKnotwellPoint, kFrames - 1, AEGP_TwoDVal{start.x + 20, start.y - 10});
    }
    baker.SetControl(kBakerBake, 2);

    const long calls_before = host.calls().total();
    const auto per_name_before = host.calls().per_name();
    const auto started = std::chrono::steady_clock::now();
    const host::FrameReply frame = baker.Render(0);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - started;
    if (frame.err() != PF_Err_NONE) return 1;

    std::vector<std::pair<long, std::string>> by_name;
    for (const auto& [name, count] : host.calls().per_name()) {
        const auto before = per_name_before.find(name);
        const long made = count - (before == per_name_before.end() ? 0 : before->second);
        if (made > 0) by_name.emplace_back(made, name);
    }
    std::ranges::sort(by_name, std::greater{});

    std::printf("bake of one %d-vertex mask, every vertex driven, %d frames (headless host)\n", kVertices,
                static_cast<int>(kFrames));
    std::printf("  keys written:  %zu\n", layer.masks[0].outline.Keys().size());
    std::printf("  host calls:    %ld\n", host.calls().total() - calls_before);
    std::printf("  wall time:     %.1f ms\n", took.count());
    for (const auto& [count, name] : by_name) std::printf("    %9ld  %s\n", count, name.c_str());
    host.Shutdown();
    return host.LeakReport().empty() ? 0 : 1;
}

}  // namespace

int main() { return Run(); }
