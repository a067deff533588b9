// Runs the benchmarks with the console table, then prints the growth
// ratios. Google Benchmark's own flags apply (--benchmark_filter,
// --benchmark_repetitions, --benchmark_out=<file> ...).
#include <benchmark/benchmark.h>

#include <iostream>

#include "bench/growth_reporter.h"

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    knotwell::bench::GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintGrowth(std::cout);
    benchmark::Shutdown();
    return 0;
}
