// Knotwell's pre-render on a layer of 1 to 200 instances, each linked with
// its own vertex of one mask. One operation renders every instance once at
// the current time, so a cost per instance that grows with the layer shows
// in the growth ratio.
#include <vector>

#include "bench/bench_support.h"
#include "tests/support/scene.h"

namespace knotwell::bench {
namespace {

using test::Scene;

enum class Link { kDriveNoChange, kDriveChange, kFollow };

void PreRender(benchmark::State& state, Link link) {
    const int count = static_cast<int>(state.range(0));
    const project::MaskOutline circle = Circle(count);
    Scene s;
    project::Mask& mask = s.AddMask(circle);
    std::vector<host::EffectInstance*> instances;
    for (int v = 0; v < count; ++v) {
        host::EffectInstance& fx = s.ApplyDriver(0, v);
        // Each driving instance moves its vertex: its first pre-render
        // changes the mask, later ones find nothing to change.
        fx.SetControl(kKnotwellPoint, 100 + v % 7, 90 - v % 5);
        fx.SetNumber(kKnotwellOn, link == Link::kFollow ? 0 : 1);
        instances.push_back(&fx);
    }
    const auto render_all = [&] {
        for (host::EffectInstance* fx : instances) {
            if (fx->Render(0).err() != PF_Err_NONE) state.SkipWithError("a pre-render failed");
        }
    };
    render_all();

    HostCalls calls;
    for (auto _ : state) {
        if (link == Link::kDriveChange) {
            state.PauseTiming();
            mask.outline = project::Stream(circle);
            state.ResumeTiming();
        }
        calls.Time(s.host, render_all);
    }
    calls.Report(state);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgName("instances")->Arg(1)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK_CAPTURE(PreRender, drive_no_change, Link::kDriveNoChange)->Apply(Sizes);
BENCHMARK_CAPTURE(PreRender, drive_change, Link::kDriveChange)->Apply(Sizes);
BENCHMARK_CAPTURE(PreRender, follow, Link::kFollow)->Apply(Sizes);

}  // namespace
}  // namespace knotwell::bench
