#include "bench/growth_reporter.h"

#include <unistd.h>

#include <cstdio>
#include <iomanip>
#include <optional>
#include <sstream>

namespace knotwell::bench {
namespace {

struct Arg {
    std::string name;
    long value;
};

// "drivers:200/frames:1800" -> {drivers 200, frames 1800}.
std::vector<Arg> ParseArgs(const std::string& text) {
    std::vector<Arg> args;
    std::istringstream in(text);
    std::string item;
    while (std::getline(in, item, '/')) {
        const std::size_t colon = item.find(':');
        if (colon == std::string::npos) continue;
        args.push_back({item.substr(0, colon), std::stol(item.substr(colon + 1))});
    }
    return args;
}

// The argument that `twice` doubles while keeping every other, if any.
std::optional<std::size_t> DoubledArg(const std::vector<Arg>& once, const std::vector<Arg>& twice) {
    if (once.size() != twice.size()) return std::nullopt;
    std::optional<std::size_t> doubled;
    for (std::size_t i = 0; i < once.size(); ++i) {
        if (once[i].name != twice[i].name) return std::nullopt;
        if (once[i].value == twice[i].value) continue;
        if (doubled || twice[i].value != 2 * once[i].value) return std::nullopt;
        doubled = i;
    }
    return doubled;
}

std::string Describe(const std::vector<Arg>& args, std::size_t doubled, long to) {
    std::ostringstream text;
    text << args[doubled].name << " " << args[doubled].value << " -> " << to;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (i != doubled) text << ", " << args[i].name << " " << args[i].value;
    }
    return text.str();
}

}  // namespace

GrowthReporter::GrowthReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

void GrowthReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        if (run.error_occurred) continue;
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.run_type == Run::RT_Aggregate && !median) continue;
        const auto calls = run.counters.find("host_calls");
        Cases& cases = median ? medians_ : single_;
        cases[run.run_name.function_name][run.run_name.args] = {
            run.GetAdjustedRealTime(), run.GetAdjustedCPUTime(),
            calls == run.counters.end() ? 0.0 : calls->second.value};
    }
    ConsoleReporter::ReportRuns(runs);
}

void GrowthReporter::PrintGrowth(std::ostream& out) const {
    const Cases& cases = medians_.empty() ? single_ : medians_;
    out << "\nGrowth at twice the work (wall time, CPU time and host calls there over here; 2.00 is linear)"
        << (medians_.empty() ? "" : ", medians") << ":\n";
    for (const auto& [benchmark, measures] : cases) {
        for (const auto& [once_text, once] : measures) {
            const std::vector<Arg> once_args = ParseArgs(once_text);
            for (const auto& [twice_text, twice] : measures) {
                const std::vector<Arg> twice_args = ParseArgs(twice_text);
                const std::optional<std::size_t> doubled = DoubledArg(once_args, twice_args);
                if (!doubled || once.wall <= 0 || once.cpu <= 0) continue;
                out << "  " << std::left << std::setw(28) << benchmark << std::setw(36)
                    << Describe(once_args, *doubled, twice_args[*doubled].value) << std::right << std::fixed
                    << std::setprecision(2) << " wall x" << twice.wall / once.wall << "  cpu x" << twice.cpu / once.cpu;
                if (once.calls > 0) out << "  calls x" << twice.calls / once.calls;
                out << "\n";
            }
        }
    }
}

}  // namespace knotwell::bench
