// Reading a large report (1,000,000 tree nodes and 200 MB of text) from memory:
// its time and the heap its records take, on which the memory bound of reading
// in docs/report-format.md rests (a node costs far more in memory than in the file).

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <string>

#include "report/report_archive.h"

namespace {

using namespace kavlo;
using namespace kavlo::report;

constexpr int kTitles = 100;
constexpr int kBranches = 100;  // per title: root, 100 branches of 99 leaves = 10,000 nodes
constexpr int kLeavesPerBranch = 99;
constexpr std::size_t kTextPerTitle = 2'000'000;  // 100 x 2 MB = 200 MB

ReportContents MakeReport() {
    ReportContents report;
    report.navigation.Add(NavNode::kRootMarker, 1, "BENCH  [local computer]");
    report.infoPage.kind = "text";
    report.infoPage.text = "Current Date: 03/14/01 21:05:00\n";
    auto file = std::make_unique<ScriptRecord>("C:\\KAVLO\\Bench.dbg", "Bench");
    std::string line = "kernel32.dll,5.00.2195.4272,04/27/01,10:00:00 AM,2.0K,Windows NT BASE API Client DLL\n";
    std::string text;
    while (text.size() + line.size() <= kTextPerTitle) text += line;
    text.append(kTextPerTitle - text.size(), 'x');
    for (int t = 0; t < kTitles; ++t) {
        TitleRecord& title = file->AddTitle("Title " + std::to_string(t));
        title.SetKindLine("treexptxt,Name,20,Value,40");
        title.PrepareRun();
        title.text = text;
        for (int b = 0; b < kBranches; ++b) {
            ResultNode& branch = title.root.AddChild("[D] Branch " + std::to_string(b));
            for (int l = 0; l < kLeavesPerBranch; ++l) branch.AddChild("Leaf " + std::to_string(l) + ",value");
        }
        report.navigation.Add(1, static_cast<std::uint32_t>(t + 2), title.name);
    }
    report.catalog.push_back(std::move(file));
    return report;
}

/// The report's archive bytes, made once for the whole run.
const std::string& Archive() {
    static const std::string bytes = [] {
        StringSink sink;
        if (WriteReport(MakeReport(), sink) != WriteStatus::Ok) std::abort();
        return std::move(sink.bytes);
    }();
    return bytes;
}

// Heap bytes in use (the benchmarks run on glibc hosts).
double HeapBytes() { return static_cast<double>(mallinfo2().uordblks); }

void BM_ReadReport(benchmark::State& state) {
    const std::string& bytes = Archive();
    double records = 0;
    for (auto _ : state) {
        const double before = HeapBytes();
        {
            ReportContents contents;
            MemorySource source(bytes);
            if (ReadReport(source, contents) != ReadStatus::Ok) std::abort();
            records = HeapBytes() - before;
            state.PauseTiming();  // tearing down the records is not reading
        }
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
    state.counters["records_MB"] = records / 1e6;
}

BENCHMARK(BM_ReadReport)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
