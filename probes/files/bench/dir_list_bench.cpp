// "TEDirList:" over a simulated machine holding 100,000 files in 5,000
// directories, against listing the same host tree with find(1) in the same run.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <malloc.h>
#include <optional>
#include <string>

#include "engine/app_context.h"
#include "engine/script_engine.h"
#include "engine/records.h"
#include "platform/sim/sim_machine.h"
#include "engine/tree_walk.h"
#include "probes/registration.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTopDirectories = 50;
constexpr int kSubdirectoriesEach = 99;  // 50 + 50 * 99 = 5,000 directories
constexpr int kFilesPerDirectory = 20;   // 100,000 files

// The machine folder lives for the whole run; it is made once and removed at exit.
class BenchMachine {
public:
    BenchMachine() {
        folder_ =
            fs::temp_directory_path() /
            ("kavlo-dirlist-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(folder_ / "registry");
        std::ofstream(folder_ / "machine.ini") << "[system]\nplatform = NT\nmajor = 5\nminor = 0\nbuild = 2195\n"
                                                  "computer_name = BENCH\nwindows_dir = C:\\WINNT\n"
                                                  "system_dir = C:\\WINNT\\System32\nnow = 2001-06-15 14:05:09\n"
                                                  "[drive C:]\ntype = fixed\nfile_system = NTFS\n"
                                                  "total_bytes = 10000000000\nfree_bytes = 5000000000\n";
        tree_ = folder_ / "drives" / "c" / "Tree";
        const std::string content(100, 'x');
        for (int top = 0; top < kTopDirectories; ++top) {
            const fs::path topDir = tree_ / ("dir" + std::to_string(top));
            Fill(topDir, content);
            for (int sub = 0; sub < kSubdirectoriesEach; ++sub) Fill(topDir / ("sub" + std::to_string(sub)), content);
        }
        auto loaded = kavlo::platform::sim::LoadMachine(folder_.string());
        if (!loaded.machine) {
            std::cerr << "cannot load the benchmark machine: " << loaded.error << "\n";
            std::exit(1);
        }
        machine_ = std::move(loaded.machine);
    }
    ~BenchMachine() {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    kavlo::platform::Machine& machine() { return *machine_; }
    const fs::path& tree() const { return tree_; }

private:
    static void Fill(const fs::path& dir, const std::string& content) {
        fs::create_directories(dir);
        for (int f = 0; f < kFilesPerDirectory; ++f)
            std::ofstream(dir / ("file" + std::to_string(f) + ".txt")) << content;
    }
    fs::path folder_;
    fs::path tree_;
    std::unique_ptr<kavlo::platform::Machine> machine_;
};

BenchMachine& Machine() {
    static BenchMachine machine;
    return machine;
}

// Heap bytes in use, in KiB (the benchmarks run on glibc hosts).
double HeapKiB() { return static_cast<double>(mallinfo2().uordblks) / 1024.0; }

// Peak resident memory of the process in KiB, from /proc.
double PeakRssKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmHWM:")) return std::atof(line.c_str() + 6);
    return 0;
}

void BM_TEDirList(benchmark::State& state) {
    BenchMachine& bench = Machine();
    kavlo::AppContext context(bench.machine(), kavlo::OsInfo{"NT5.0", "Windows 2000", 50, true}, "C:\\");
    kavlo::ScriptEngine engine(context, kavlo::StandardCommandTable());
    kavlo::ScriptFile script(std::string{});
    std::size_t nodes = 0;
    std::size_t bytes = 0;
    const double heapBefore = HeapKiB();
    double heapWithTree = 0;
    for (auto _ : state) {
        std::optional<kavlo::TitleRecord> holder(std::in_place);
        kavlo::TitleRecord& title = *holder;
        title.kind = "treexp";
        title.Root().SetExtra("Size,8,Date,10,Time,12");
        engine.Dispatch(script, "TEDirList:C:\\Tree,FNAME,FSIZE,FDATE,FTIME,FATTRIBUTE,FVERSION", &title);
        nodes = title.Root().CountNodes();
        bytes = 0;
        kavlo::WalkTree(title.Root(), kavlo::kAnyDepth, [&bytes](const kavlo::ResultNode& node, std::size_t) {
            bytes += node.title().size() + node.extra().size();
            return kavlo::Visit::Children;
        });
        heapWithTree = HeapKiB();
        benchmark::DoNotOptimize(nodes);
        state.PauseTiming();
        holder.reset();
        state.ResumeTiming();
    }
    // What stays after the tree is gone is the simulated machine's cache of listings.
    const double heapAfter = HeapKiB();
    state.counters["heap_tree_kib"] = heapWithTree - heapAfter;
    state.counters["heap_sim_cache_kib"] = heapAfter - heapBefore;
    state.counters["peak_rss_kib"] = PeakRssKiB();
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["output_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TEDirList)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HostFind(benchmark::State& state) {
    const std::string command = "find '" + Machine().tree().string() + "' -printf '%f %s %TD %TT %M\\n' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
    }
}
BENCHMARK(BM_HostFind)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
