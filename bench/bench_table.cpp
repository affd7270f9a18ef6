// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_table.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace benchtable {

namespace {

// The console report as usual, and every run's time per iteration kept aside
// by benchmark name.
class CollectingReporter : public benchmark::ConsoleReporter
{
public:
    // No colours: the table rows that follow must start their lines.
    CollectingReporter()
        : ConsoleReporter(OO_Tabular)
    {
    }

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            // The time the benchmark's own thread ran: on a machine shared with
            // other work, the wall clock also counts the time others had.
            const double ns =
                run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            std::string name = run.run_name.function_name;
            if (!run.run_name.args.empty())
                name += "/" + run.run_name.args;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median")
                    medians[name] = ns;
            } else {
                iterationTimes[name].push_back(ns);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> medians;
    std::map<std::string, std::vector<double>> iterationTimes;
};

} // namespace

std::map<std::string, double> runBenchmarks(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        std::exit(EXIT_FAILURE);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    // A benchmark run once, or whose repetitions were shown one by one, has no
    // median of Google Benchmark's own: take the middle of its runs.
    std::map<std::string, double> results = reporter.medians;
    for (auto &[name, times] : reporter.iterationTimes) {
        if (results.count(name) || times.empty())
            continue;
        std::sort(times.begin(), times.end());
        results[name] = times[times.size() / 2];
    }
    return results;
}

double medianNs(const std::map<std::string, double> &results, const std::string &name)
{
    const auto found = results.find(name);
    if (found == results.end()) {
        std::fprintf(stderr, "benchmark %s did not run: no table\n", name.c_str());
        std::exit(EXIT_FAILURE);
    }
    return found->second;
}

void printRow(const std::string &what, const std::string &figure, const std::string &against,
    const std::string &ratio, const std::string &target, bool met)
{
    std::printf("| %s | %s | %s | %s | %s | %s |\n", what.c_str(), figure.c_str(), against.c_str(),
        ratio.c_str(), target.c_str(), met ? "met" : "MISSED");
    std::fflush(stdout);
}

std::string fixed(double value, int decimals, const std::string &unit)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text + unit;
}

} // namespace benchtable
