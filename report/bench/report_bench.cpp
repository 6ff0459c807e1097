// Reading a large report (1,000,000 tree nodes and 200 MB of text): its time,
// the heap held by the records read and the peak heap while reading: the memory
// per record that docs/report-format.md gives for the read bounds.
//
// Goal: peak heap while reading at most twice the heap held by the records read.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include "platform/host_file.h"
#include "report/report_archive.h"

// ------------------------------------------------------------ heap accounting

namespace {
std::atomic<std::size_t> gHeapNow{0};
std::atomic<std::size_t> gHeapPeak{0};
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* CountedAlloc(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (!block) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    const std::size_t now = gHeapNow.fetch_add(size) + size;
    std::size_t peak = gHeapPeak.load();
    while (now > peak && !gHeapPeak.compare_exchange_weak(peak, now)) {
    }
    return static_cast<char*>(block) + kHeader;
}

void CountedFree(void* pointer) {
    if (!pointer) return;
    void* block = static_cast<char*>(pointer) - kHeader;
    gHeapNow.fetch_sub(*static_cast<std::size_t*>(block));
    std::free(block);
}
}  // namespace

// The library's array, nothrow and sized forms all end in these two.
void* operator new(std::size_t size) { return CountedAlloc(size); }
void operator delete(void* pointer) noexcept { CountedFree(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { CountedFree(pointer); }

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

/// The report file and its size, made once for the whole run.
struct BenchFiles {
    std::string dir = (std::filesystem::temp_directory_path() / "kavlo-report-bench").string();
    std::string report = dir + "/bench.IFO";
    std::uint64_t size = 0;
    BenchFiles() {
        std::filesystem::create_directories(dir);
        const ReportContents contents = MakeReport();
        platform::FilePtr file = platform::OpenHostFile(report, "wb");
        FileSink sink(file.get());
        if (!file || WriteReport(contents, sink) != WriteStatus::Ok || platform::CloseHostFile(file) != 0) std::abort();
        size = std::filesystem::file_size(report);
    }
    ~BenchFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }
};

BenchFiles& Files() {
    static BenchFiles files;
    return files;
}

void BM_ReadReport(benchmark::State& state) {
    BenchFiles& files = Files();
    double records = 0, peak = 0;
    for (auto _ : state) {
        const std::size_t before = gHeapNow.load();
        gHeapPeak.store(before);
        {
            ReportContents contents;
            platform::FilePtr in = platform::OpenHostFile(files.report, "rb");
            FileSource source(in.get());
            if (ReadReport(source, contents) != ReadStatus::Ok) std::abort();
            records = static_cast<double>(gHeapNow.load() - before);
            peak = static_cast<double>(gHeapPeak.load() - before);
            state.PauseTiming();  // tearing down the records is not reading
        }
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * files.size));
    state.counters["records_MB"] = records / 1e6;
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["peak_per_records"] = records > 0 ? peak / records : 0;
}

BENCHMARK(BM_ReadReport)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
