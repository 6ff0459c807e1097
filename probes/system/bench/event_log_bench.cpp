// "CEvtLog:" over a simulated machine whose System log is a 20 MB .evt file of
// 100,000 records with a message file, against reading the same file's bytes
// in the same run.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "engine/testing/sim_script_run.h"
#include "platform/testing/peak_memory.h"
#include "platform/event_record.h"
#include "platform/testing/evt_builder.h"
#include "probes/system/tests/line_runner.h"

namespace fs = std::filesystem;

namespace {

using kavlo::testing::SimImage;

constexpr int kRecords = 100000;

// Made once for the whole run, with the sample machine's message file for the source.
SimImage& Image() {
    static SimImage image;
    static const bool filled = [] {
        image.Registry("eventlog",
                       "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Eventlog\\System]\n"
                       "\"File\"=\"C:\\\\WINNT\\\\system32\\\\config\\\\SysEvent.Evt\"\n\n"
                       "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Eventlog\\System\\Srv]\n"
                       "\"EventMessageFile\"=\"C:\\\\WINNT\\\\system32\\\\netevent.dll\"\n");
        image.DriveFile("WINNT/system32/netevent.dll",
                        kavlo::testing::ReadAll(KAVLO_SAMPLE_DIR "/drives/c/WINNT/system32/netevent.dll"));
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
        image.DriveFile("WINNT/system32/config/SysEvent.Evt", kavlo::testing::BuildEvtFile(records));
        return true;
    }();
    (void)filled;
    return image;
}

const std::string& EvtPath() {
    static const std::string path = Image().HostPath("drives/c/WINNT/system32/config/SysEvent.Evt");
    return path;
}

void BM_CEvtLog(benchmark::State& state) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        kavlo::probe_test::LineRunner lines(Image().machine());
        bytes = lines.Text("CEvtLog:System,Type,Date,Time,Source,Event,Computer,Description").size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["file_mib"] = static_cast<double>(fs::file_size(EvtPath())) / (1024.0 * 1024.0);
    state.counters["output_bytes"] = static_cast<double>(bytes);
    // The high-water mark includes building the 20 MB log before the run.
    state.counters["peak_rss_kib"] = kavlo::testing::PeakRssKiB();
}
BENCHMARK(BM_CEvtLog)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ReadFileBytes(benchmark::State& state) {
    const std::string& path = EvtPath();
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
