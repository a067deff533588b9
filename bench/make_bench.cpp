// A make of one mask: KnotwellMaker applies one Knotwell instance per
// vertex, with its twelve controls written, and a KnotwellBaker.
#include <optional>

#include "bench/bench_support.h"
#include "tests/support/scene.h"

namespace knotwell::bench {
namespace {

using test::Scene;

void Make(benchmark::State& state) {
    const int vertices = static_cast<int>(state.range(0));
    HostCalls calls;
    std::optional<Scene> s;
    for (auto _ : state) {
        // Each make needs a fresh layer: the instances of the last one stay.
        state.PauseTiming();
        s.reset();
        s.emplace();
        s->AddMask(Circle(vertices));
        host::EffectInstance& maker = s->ApplyMaker(0, false);
        maker.SetControl(kMakerMake, test::kExecute);
        state.ResumeTiming();
        calls.Time(s->host, [&] {
            if (maker.Render(0).err() != PF_Err_NONE) state.SkipWithError("the make failed");
        });
    }
    calls.Report(state);
}

BENCHMARK(Make)->ArgName("vertices")->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace knotwell::bench
