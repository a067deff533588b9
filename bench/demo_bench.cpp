// The demo project (examples/demo.json) as the command-line tool plays it,
// up to its "render every frame" step; one operation is that step: every
// active effect of the layer renders every frame of the layer.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <variant>

#include "bench/bench_support.h"
#include "headless_host/cli/progress.h"
#include "headless_host/cli/project_builder.h"
#include "headless_host/cli/project_file/read_project.h"
#include "headless_host/cli/run_state.h"
#include "headless_host/cli/step_player.h"
#include "headless_host/driving/effect_type.h"
#include "tests/support/plugins.h"

namespace knotwell::bench {
namespace {

namespace pf = project_file;

pf::ProjectDescription ReadDemo() {
    std::ifstream file(KNOTWELL_DEMO_PROJECT);
    std::ostringstream text;
    text << file.rdbuf();
    pf::Result<pf::ProjectDescription, pf::FileError> demo = pf::ReadProject(text.str());
    if (!demo.ok()) throw std::runtime_error(KNOTWELL_DEMO_PROJECT ": " + pf::ToString(demo.error()));
    return std::move(demo).value();
}

bool RendersEveryFrame(const pf::Step& step) {
    const auto* render = std::get_if<pf::RenderStep>(&step.action);
    return render && render->all;
}

void DemoRenderEveryFrame(benchmark::State& state) {
    const pf::ProjectDescription demo = ReadDemo();
    const auto every_frame = std::ranges::find_if(demo.steps, RendersEveryFrame);
    if (every_frame == demo.steps.end()) {
        state.SkipWithError("the demo renders no step of every frame");
        return;
    }
    host::Host host;
    for (const std::string_view name : test::kPluginNames) {
        host.Load(test::PluginPath(name, host::Generation::kCurrent)).GlobalSetup();
    }
    cli::Progress progress(std::cerr, false);
    cli::RunState run(host, progress);
    cli::BuildProject(run, demo);
    cli::PlaySteps(run, {demo.steps.begin(), every_frame});

    const std::vector<pf::Step> render_every_frame{*every_frame};
    HostCalls calls;
    for (auto _ : state) calls.Time(host, [&] { cli::PlaySteps(run, render_every_frame); });
    calls.Report(state);
    // The expressions refer to the run's state: set down while it is there.
    host.Shutdown();
}

BENCHMARK(DemoRenderEveryFrame)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace knotwell::bench
