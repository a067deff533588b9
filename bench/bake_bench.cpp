// A bake of one closed mask whose every vertex is driven by its own
// Knotwell instance with a keyframed "Point", over a layer of 300 to 1,800
// frames. Between iterations the instances are switched on again and the
// mask loses its keys, so every iteration bakes the same project.
#include <vector>

#include "bench/bench_support.h"
#include "tests/support/scene.h"

namespace knotwell::bench {
namespace {

using test::Scene;

void Bake(benchmark::State& state) {
    const int drivers = static_cast<int>(state.range(0));
    const auto frames = static_cast<project::Ticks>(state.range(1));
    const project::MaskOutline circle = Circle(drivers);
    Scene s(host::Generation::kCurrent, test::kAllPlugins, frames);
    project::Mask& mask = s.AddMask(circle);
    std::vector<host::EffectInstance*> instances;
    for (int v = 0; v < drivers; ++v) {
        host::EffectInstance& fx = s.ApplyDriver(0, v);
        const AEGP_MaskVertex& at = circle.vertices[static_cast<std::size_t>(v)];
        fx.SetKeyframe(kKnotwellPoint, 0, AEGP_TwoDVal{at.x, at.y});
        fx.SetKeyframe(kKnotwellPoint, frames - 1, AEGP_TwoDVal{at.x + 20, at.y - 10});
        instances.push_back(&fx);
    }
    host::EffectInstance& baker = s.ApplyBaker(0, false);

    HostCalls calls;
    for (auto _ : state) {
        state.PauseTiming();
        mask.outline = project::Stream(circle);
        for (host::EffectInstance* fx : instances) fx->effect().flags = AEGP_EffectFlags_ACTIVE;
        baker.SetNumber(kBakerBake, test::kExecute);
        state.ResumeTiming();
        calls.Time(s.host, [&] {
            if (baker.Render(0).err() != PF_Err_NONE) state.SkipWithError("the bake failed");
        });
    }
    calls.Report(state);
    // Host calls per driven vertex per sample, the mask's own calls per
    // sample and the driver scan included.
    state.counters["calls_per_vertex_sample"] = benchmark::Counter(
        static_cast<double>(calls.calls()) / (static_cast<double>(drivers) * static_cast<double>(frames)),
        benchmark::Counter::kAvgIterations);
}

BENCHMARK(Bake)
    ->ArgNames({"drivers", "frames"})
    ->ArgsProduct({{1, 50, 100, 200}, {300, 1800}})
    ->Args({200, 900})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace knotwell::bench
