// "TDirRightsList:" over a simulated machine holding 100,000 files in 5,000
// directories with inherited access lists, against listing the same host tree
// with find(1) in the same run.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "engine/app_context.h"
#include "engine/script_engine.h"
#include "engine/script_file.h"
#include "platform/sim/sim_machine.h"
#include "probes/registration.h"

namespace fs = std::filesystem;

namespace {

constexpr int kTopDirectories = 50;
constexpr int kSubdirectoriesEach = 99;  // 50 + 50 * 99 = 5,000 directories
constexpr int kFilesPerDirectory = 20;   // 100,000 files

class BenchMachine {
public:
    BenchMachine() {
        folder_ = fs::temp_directory_path() /
                  ("kavlo-rights-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(folder_ / "registry");
        std::ofstream(folder_ / "machine.ini")
            << "[system]\nplatform = NT\nmajor = 5\nminor = 0\nbuild = 2195\ncomputer_name = BENCH\n"
               "windows_dir = C:\\WINNT\nsystem_dir = C:\\WINNT\\System32\nnow = 2001-06-15 14:05:09\n"
               "[drive C:]\ntype = fixed\nfile_system = NTFS\ntotal_bytes = 10000000000\nfree_bytes = 5000000000\n"
               "[logon]\nuser = bench\nsid = S-1-5-21-1-2-3-1000\nlocal_groups = Users\n"
               "[security C:\\]\nsddl = O:BAG:SYD:(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200A9;;;BU)\n"
               "[security C:\\Tree\\dir7]\nsddl = D:(D;OICI;0x116;;;BU)(A;CI;FA;;;CO)\n";
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

void BM_TDirRightsList(benchmark::State& state) {
    BenchMachine& bench = Machine();
    kavlo::AppContext context(bench.machine(), kavlo::OsInfo{"NT5.0", "Windows 2000", 50, true}, "C:\\");
    kavlo::ScriptEngine engine(context, kavlo::StandardCommandTable());
    kavlo::ScriptFile file{std::string()};
    std::size_t nodes = 0;
    for (auto _ : state) {
        kavlo::TitleRecord title;
        title.kind = "tree";
        engine.Dispatch(file, "TDirRightsList:C:\\Tree", &title);
        nodes = title.Root().CountNodes();
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}
BENCHMARK(BM_TDirRightsList)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_HostFind(benchmark::State& state) {
    const std::string command = "find '" + Machine().tree().string() + "' -printf '%f %s %TD %TT %M\\n' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) state.SkipWithError("find failed");
    }
}
BENCHMARK(BM_HostFind)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
