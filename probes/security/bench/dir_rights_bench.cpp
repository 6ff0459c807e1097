// "TDirRightsList:" over a simulated machine holding 100,000 files in 5,000
// directories with inherited access lists, against listing the same host tree
// with find(1) in the same run.

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "engine/testing/sim_script_run.h"
#include "probes/system/tests/line_runner.h"

namespace {

using kavlo::testing::SimImage;

// Made once for the whole run: 50 folders of 99 subfolders, 20 files in each.
SimImage& Image() {
    static SimImage image(std::string(kavlo::testing::kMinimalSystem) +
                          "[logon]\nuser = bench\nsid = S-1-5-21-1-2-3-1000\nlocal_groups = Users\n"
                          "[security C:\\]\nsddl = O:BAG:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200A9;;;BU)\n"
                          "[security C:\\Tree\\dir7]\nsddl = D:(D;OICI;0x116;;;BU)(A;CI;FA;;;CO)\n");
    static const bool filled = (image.WideTree("Tree", 50, 99, 20, 100), true);
    (void)filled;
    return image;
}

void BM_TDirRightsList(benchmark::State& state) {
    std::size_t nodes = 0;
    for (auto _ : state) {
        kavlo::probe_test::LineRunner lines(Image().machine());
        nodes = lines.Run("tree", "TDirRightsList:C:\\Tree").Root().CountNodes();
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_TDirRightsList)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HostFind(benchmark::State& state) {
    const std::string command =
        "find '" + Image().HostPath("drives/c/Tree") + "' -printf '%f %s %TD %TT %M\\n' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
}
BENCHMARK(BM_HostFind)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
