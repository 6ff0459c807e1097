// "CEvtLog:" over a simulated machine whose System log is a 20 MB .evt file of
// 100,000 records with a message file, against reading the same file's bytes
// in the same run.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <malloc.h>

#include "engine/app_context.h"
#include "engine/records.h"
#include "engine/script_engine.h"
#include "platform/event_record.h"
#include "platform/sim/sim_machine.h"
#include "platform/tests/evt_builder.h"
#include "probes/registration.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 100000;

class BenchMachine {
public:
    BenchMachine() {
        folder_ = fs::temp_directory_path() /
                  ("kavlo-evtlog-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
        const fs::path system32 = folder_ / "drives" / "c" / "WINNT" / "system32";
        fs::create_directories(system32 / "config");
        fs::create_directories(folder_ / "registry");
        std::ofstream(folder_ / "machine.ini") << "[system]\nplatform = NT\nmajor = 5\nminor = 0\nbuild = 2195\n"
                                                  "computer_name = BENCH\nwindows_dir = C:\\WINNT\n"
                                                  "system_dir = C:\\WINNT\\system32\nnow = 2002-05-14 10:32:05\n"
                                                  "[drive C:]\ntype = fixed\nfile_system = NTFS\n"
                                                  "total_bytes = 10000000000\nfree_bytes = 5000000000\n";
        std::ofstream(folder_ / "registry" / "eventlog.reg")
            << "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Eventlog\\System]\n"
               "\"File\"=\"C:\\\\WINNT\\\\system32\\\\config\\\\SysEvent.Evt\"\n\n"
               "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Eventlog\\System\\Srv]\n"
               "\"EventMessageFile\"=\"C:\\\\WINNT\\\\system32\\\\netevent.dll\"\n";
        fs::copy_file(fs::path(KAVLO_SAMPLE_DIR) / "drives" / "c" / "WINNT" / "system32" / "netevent.dll",
                      system32 / "netevent.dll");
        // Alternating events so that no run folds and every record is formatted.
        std::vector<std::string> records;
        records.reserve(kRecords);
        for (int i = 0; i < kRecords; ++i) {
            kavlo::platform::EventRecord r;
            r.recordNumber = static_cast<std::uint32_t>(i + 1);
            r.timeGenerated = 1021000000u + static_cast<std::uint32_t>(i);
            r.eventId = i % 2 ? 0x800007DDu : 0xC0001B58u;
            r.eventType = i % 2 ? 2 : 1;
            r.source = "Srv";
            r.computer = "BENCH";
            r.strings = {"Drive E: of the backup set", "The system cannot find the file specified here"};
            records.push_back(kavlo::platform::EncodeEventRecord(r, kavlo::platform::EventTextForm::Utf16));
        }
        const std::string file = kavlo::testing::BuildEvtFile(records);
        evtPath_ = system32 / "config" / "SysEvent.Evt";
        std::ofstream(evtPath_, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
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
    const fs::path& evtPath() const { return evtPath_; }

private:
    fs::path folder_;
    fs::path evtPath_;
    std::unique_ptr<kavlo::platform::Machine> machine_;
};

BenchMachine& Machine() {
    static BenchMachine machine;
    return machine;
}

double PeakRssKiB() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmHWM:")) return std::atof(line.c_str() + 6);
    return 0;
}

void BM_CEvtLog(benchmark::State& state) {
    BenchMachine& bench = Machine();
    kavlo::AppContext context(bench.machine(), kavlo::OsInfo{"NT5.0", "Windows 2000", 50, true}, "C:\\");
    kavlo::ScriptEngine engine(context, kavlo::StandardCommandTable());
    std::size_t bytes = 0;
    for (auto _ : state) {
        kavlo::TitleRecord title;
        kavlo::ScriptFile file{std::string()};
        engine.Dispatch(file, "CEvtLog:System,Type,Date,Time,Source,Event,Computer,Description", &title);
        bytes = title.text.size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["file_mib"] = static_cast<double>(fs::file_size(bench.evtPath())) / (1024.0 * 1024.0);
    state.counters["output_bytes"] = static_cast<double>(bytes);
    // The high-water mark includes building the 20 MB log before the run.
    state.counters["peak_rss_kib"] = PeakRssKiB();
}
BENCHMARK(BM_CEvtLog)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReadFileBytes(benchmark::State& state) {
    const fs::path path = Machine().evtPath();
    for (auto _ : state) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes(static_cast<std::size_t>(fs::file_size(path)), '\0');
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        benchmark::DoNotOptimize(bytes.data());
    }
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
