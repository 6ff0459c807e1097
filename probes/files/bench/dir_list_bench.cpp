// "TEDirList:" over a simulated machine holding 100,000 files in 5,000
// directories, against listing the same host tree with find(1) in the same run.

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <optional>

#include "engine/testing/sim_script_run.h"
#include "engine/tree_walk.h"

namespace {

using kavlo::testing::SimImage;

// Made once for the whole run: 50 folders of 99 subfolders, 20 files in each.
SimImage& Image() {
    static SimImage image;
    static const bool filled = (image.WideTree("Tree", 50, 99, 20, 100), true);
    (void)filled;
    return image;
}

// Heap bytes in use, in KiB (the benchmarks run on glibc hosts).
double HeapKiB() { return static_cast<double>(mallinfo2().uordblks) / 1024.0; }

void BM_TEDirList(benchmark::State& state) {
    kavlo::ScriptEngine engine(Image().Load(), kavlo::StandardCommandTable());
    kavlo::ScriptFile script(std::string{});
    std::size_t nodes = 0;
    std::size_t bytes = 0;
    double heapWithTree = 0;
    for (auto _ : state) {
        std::optional<kavlo::TitleRecord> title(std::in_place);
        title->kind = "treexp";
        title->Root().SetExtra("Size,8,Date,10,Time,12");
        engine.Dispatch(script, "TEDirList:C:\\Tree,FNAME,FSIZE,FDATE,FTIME,FATTRIBUTE,FVERSION", &*title);
        nodes = title->Root().CountNodes();
        bytes = 0;
        kavlo::WalkTree(title->Root(), kavlo::kAnyDepth, [&bytes](const kavlo::ResultNode& node, std::size_t) {
            bytes += node.title().size() + node.extra().size();
            return kavlo::Visit::Children;
        });
        heapWithTree = HeapKiB();
        state.PauseTiming();
        title.reset();
        state.ResumeTiming();
    }
    // The tree's heap, nodes and text, as docs/file-probes.md gives them.
    state.counters["heap_tree_kib"] = heapWithTree - HeapKiB();
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["output_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TEDirList)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HostFind(benchmark::State& state) {
    const std::string command =
        "find '" + Image().HostPath("drives/c/Tree") + "' -printf '%f %s %TD %TT %M\\n' > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
}
BENCHMARK(BM_HostFind)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
