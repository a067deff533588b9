// What the benchmarks share: the shapes they work on and the host-call
// counter every case reports.
#pragma once

#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "headless_host/host.h"
#include "headless_host/project/composition.h"

namespace knotwell::bench {

// A closed circle of `vertices` vertices, each with short tangents.
inline project::MaskOutline Circle(int vertices) {
    project::MaskOutline circle;
    for (int v = 0; v < vertices; ++v) {
        const double a = 2 * std::numbers::pi * v / vertices;
        circle.vertices.push_back({100 + 80 * std::cos(a), 100 + 80 * std::sin(a), -5, 0, 5, 0});
    }
    return circle;
}

// Host calls made while the clock runs: each timed part is wrapped in
// Time(), and Report() gives the count per iteration.
class HostCalls {
public:
    template <class Work>
    void Time(host::Host& host, Work&& work) {
        const long before = host.calls().total();
        work();
        calls_ += host.calls().total() - before;
    }

    long calls() const { return calls_; }

    void Report(benchmark::State& state) const {
        state.counters["host_calls"] = benchmark::Counter(static_cast<double>(calls_), benchmark::Counter::kAvgIterations);
    }

private:
    long calls_ = 0;
};

}  // namespace knotwell::bench
