#include "platform/sim/bench/growth_check.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace kavlo::bench {
namespace {

// Keeps each run's CPU time per iteration by benchmark family and input size:
// the least over repetitions, since other work on a shared machine only ever
// adds time.
class GrowthReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred || run.iterations == 0 || run.run_type != Run::RT_Iteration) continue;
            const std::string name = run.benchmark_name();
            const std::size_t slash = name.find('/');
            if (slash == std::string::npos) continue;
            const long long input = std::stoll(name.substr(slash + 1));
            const double time = run.GetAdjustedCPUTime();
            auto [slot, added] = times_[name.substr(0, slash)].emplace(input, time);
            if (!added && time < slot->second) slot->second = time;
        }
        ConsoleReporter::ReportRuns(runs);
    }

    bool AllWithinLimit() const {
        bool ok = true;
        for (const auto& [family, byInput] : times_) {
            for (const auto& [input, time] : byInput) {
                const auto larger = byInput.find(input * 4);
                if (larger == byInput.end() || time <= 0) continue;
                const double growth = larger->second / time;
                const bool within = growth <= kMaxGrowth;
                std::printf("growth %-40s %lld -> %lld: %.2fx %s\n", family.c_str(), input, input * 4, growth,
                            within ? "ok" : "TOO FAST A GROWTH");
                ok = ok && within;
            }
        }
        return ok;
    }

private:
    std::map<std::string, std::map<long long, double>> times_;
};

}  // namespace

int RunWithGrowthCheck(int argc, char** argv) {
    // Runs of n and 4n take turns, so that a change in the machine's load falls
    // on both alike.
    std::vector<char*> arguments(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + (argc > 0 ? 1 : 0), interleave.data());
    argc = static_cast<int>(arguments.size());
    argv = arguments.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    GrowthReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.AllWithinLimit() ? 0 : 1;
}

}  // namespace kavlo::bench
