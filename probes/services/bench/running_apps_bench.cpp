// "RunningApps:" over a simulated machine of 2,000 processes with 100 modules
// each and 500 services; peak memory is reported.

#include <benchmark/benchmark.h>

#include <string>

#include "engine/testing/sim_script_run.h"
#include "platform/testing/peak_memory.h"
#include "probes/system/tests/line_runner.h"

namespace {

using kavlo::testing::SimImage;

constexpr int kProcesses = 2000;
constexpr int kModulesEach = 100;
constexpr int kServices = 500;

// Made once for the whole run.
SimImage& Image() {
    static SimImage image = [] {
        std::string modules;
        for (int m = 1; m < kModulesEach; ++m)
            modules += (m > 1 ? " | " : "") + ("C:\\Lib\\lib" + std::to_string(m) + ".dll");
        std::string ini(kavlo::testing::kMinimalSystem);
        for (int p = 0; p < kProcesses; ++p) {
            const std::string id = std::to_string((p + 1) * 4);
            ini += "[process " + id + "]\nimage = C:\\Lib\\lib0.dll\nmodules = " + modules +
                   "\nmemory = 1 2 3 4 5 6 7 8 9\n[window " + std::to_string(p) + "]\nprocess = " + id +
                   "\ntitle = Window " + std::to_string(p) + "\nvisible = yes\n";
        }
        return SimImage(ini);
    }();
    static const bool filled = [] {
        for (int m = 0; m < kModulesEach; ++m) image.DriveFile("Lib/lib" + std::to_string(m) + ".dll", "MZ");
        std::string services;
        for (int s = 0; s < kServices; ++s)
            services += "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Svc" + std::to_string(s) +
                        "]\n\"Type\"=dword:00000010\n\"Start\"=dword:00000002\n"
                        "\"ImagePath\"=\"C:\\\\Lib\\\\lib1.dll -service\"\n\"DisplayName\"=\"Service " +
                        std::to_string(s) + "\"\n\n";
        image.Registry("services", services);
        return true;
    }();
    (void)filled;
    return image;
}

void BM_RunningApps(benchmark::State& state) {
    std::size_t nodes = 0;
    for (auto _ : state) {
        kavlo::probe_test::LineRunner lines(Image().machine());  // one tree at a time
        nodes = lines.Run("tree", "RunningApps:").Root().CountNodes();
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["peak_MB"] = kavlo::testing::PeakRssKiB() / 1024.0;
}
BENCHMARK(BM_RunningApps)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
