#pragma once
// A console reporter that prints, after the usual table, the ratio of one case's time to another's for each
// pair it was given (cases that did not run are left out; with repetitions, of the medians).

#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
public:
    // The case, the case it is divided by, and the line's label when not "case / divisor".
    struct Pair {
        std::string name, divisor, label = {};
    };

    // Work spread over threads or processes is compared by the time that passes; work on the benchmark's own
    // thread by its processor time, which a busy machine disturbs less.
    enum Clock { RealTime, CpuTime };

    RatioReporter(std::string heading, std::vector<Pair> pairs, Clock clock = RealTime)
        : heading(std::move(heading)), pairs(std::move(pairs)), clock(clock) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) continue;
            // With repetitions the median, reported after the repetitions themselves, is the time kept.
            if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                times[run.run_name.str()] =
                    clock == CpuTime ? run.GetAdjustedCPUTime() : run.GetAdjustedRealTime();
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        if (!heading.empty()) std::cout << heading << "\n";
        for (const auto& [name, divisor, label] : pairs) {
            if (times.count(name) && times.count(divisor) && times[divisor] > 0)
                std::cout << (label.empty() ? name + " / " + divisor : label) << ": "
                          << times[name] / times[divisor] << "\n";
        }
    }

private:
    std::string heading;
    std::vector<Pair> pairs;
    Clock clock;
    std::map<std::string, double> times;
};

// Runs the benchmarks named on the command line with that reporter.
inline int RunWithRatios(int argc, char** argv, RatioReporter& reporter) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
