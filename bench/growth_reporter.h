// The console table of Google Benchmark, followed by growth ratios: for
// every two cases of one benchmark whose arguments differ in one only,
// that one doubled, the wall time, the CPU time and the host calls at
// twice the work over those at the work. A ratio well above 2 shows a cost
// that grows faster than linearly; on a busy machine the CPU time is the
// steadier of the two times. With repetitions the medians are compared.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace knotwell::bench {

class GrowthReporter : public benchmark::ConsoleReporter {
public:
    // In colour only on a terminal.
    GrowthReporter();

    void ReportRuns(const std::vector<Run>& runs) override;

    // Prints the ratios of every run reported so far.
    void PrintGrowth(std::ostream& out) const;

private:
    struct Measure {
        double wall = 0;
        double cpu = 0;
        double calls = 0;
    };
    // By benchmark, then by its "name:value" arguments.
    using Cases = std::map<std::string, std::map<std::string, Measure>>;
    Cases single_;
    Cases medians_;
};

}  // namespace knotwell::bench
