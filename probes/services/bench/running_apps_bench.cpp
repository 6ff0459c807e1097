// "RunningApps:" over a simulated machine of 2,000 processes with 100 modules
// each, and "CServiceStatus:" over 500 services; peak memory is reported.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "engine/app_context.h"
#include "engine/script_engine.h"
#include "engine/script_file.h"
#include "platform/testing/peak_memory.h"
#include "platform/sim/sim_machine.h"
#include "probes/registration.h"

namespace fs = std::filesystem;

namespace {

constexpr int kProcesses = 2000;
constexpr int kModulesEach = 100;
constexpr int kServices = 500;

class BenchMachine {
public:
    BenchMachine() {
        folder_ = fs::temp_directory_path() /
                  ("kavlo-apps-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        fs::create_directories(folder_ / "registry");
        fs::create_directories(folder_ / "drives/c/Lib");
        std::ofstream ini(folder_ / "machine.ini");
        ini << "[system]\nplatform = NT\nmajor = 5\nminor = 0\nbuild = 2195\ncomputer_name = BENCH\n"
               "windows_dir = C:\\WINNT\nsystem_dir = C:\\WINNT\\System32\nnow = 2001-06-15 14:05:09\n"
               "[drive C:]\ntype = fixed\nfile_system = NTFS\ntotal_bytes = 10000000000\nfree_bytes = 5000000000\n";
        for (int m = 0; m < kModulesEach; ++m)
            std::ofstream(folder_ / "drives/c/Lib" / ("lib" + std::to_string(m) + ".dll")) << "MZ";
        std::string modules;
        for (int m = 1; m < kModulesEach; ++m)
            modules += (m > 1 ? " | " : "") + ("C:\\Lib\\lib" + std::to_string(m) + ".dll");
        for (int p = 0; p < kProcesses; ++p) {
            ini << "[process " << (p + 1) * 4 << "]\nimage = C:\\Lib\\lib0.dll\nmodules = " << modules
                << "\nmemory = 1 2 3 4 5 6 7 8 9\n[window " << p << "]\nprocess = " << (p + 1) * 4
                << "\ntitle = Window " << p << "\nvisible = yes\n";
        }
        std::ofstream reg(folder_ / "registry/services.reg");
        reg << "REGEDIT4\n\n";
        for (int s = 0; s < kServices; ++s)
            reg << "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Svc" << s
                << "]\n\"Type\"=dword:00000010\n"
                << "\"Start\"=dword:00000002\n\"ImagePath\"=\"C:\\\\Lib\\\\lib1.dll "
                   "-service\"\n\"DisplayName\"=\"Service "
                << s << "\"\n\n";
        reg.close();
        ini.close();
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

private:
    fs::path folder_;
    std::unique_ptr<kavlo::platform::Machine> machine_;
};

BenchMachine& Machine() {
    static BenchMachine machine;
    return machine;
}

void BM_RunningApps(benchmark::State& state) {
    BenchMachine& bench = Machine();
    kavlo::AppContext context(bench.machine(), kavlo::OsInfo{"NT5.0", "Windows 2000", 50, true}, "C:\\");
    kavlo::ScriptEngine engine(context, kavlo::StandardCommandTable());
    kavlo::ScriptFile file{std::string()};
    std::size_t nodes = 0;
    for (auto _ : state) {
        kavlo::TitleRecord title;
        title.kind = "tree";
        engine.Dispatch(file, "RunningApps:", &title);
        nodes = title.Root().CountNodes();
        benchmark::DoNotOptimize(nodes);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["peak_MB"] = kavlo::testing::PeakRssKiB() / 1024.0;
}
BENCHMARK(BM_RunningApps)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ServiceStatus(benchmark::State& state) {
    BenchMachine& bench = Machine();
    kavlo::AppContext context(bench.machine(), kavlo::OsInfo{"NT5.0", "Windows 2000", 50, true}, "C:\\");
    kavlo::ScriptEngine engine(context, kavlo::StandardCommandTable());
    kavlo::ScriptFile file{std::string()};
    for (auto _ : state) {
        kavlo::TitleRecord title;
        title.kind = "col";
        for (int s = 0; s < kServices; ++s)
            engine.Dispatch(file,
                            "CServiceStatus:Svc" + std::to_string(s) +
                                ",SNAME,SSTATUS,SSTARTTYPE,SERVTYPE,SSTARTNAME,SERROR,SFILEPATH,SLOADORDERGROUP,STAGID",
                            &title);
        benchmark::DoNotOptimize(title.text.size());
    }
    state.counters["peak_MB"] = kavlo::testing::PeakRssKiB() / 1024.0;
}
BENCHMARK(BM_ServiceStatus)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
