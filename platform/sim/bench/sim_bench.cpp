// Loading a simulated machine and listing its folders grow linearly with their
// input: many files whose names share their first characters (8.3 names), many
// [file] sections, [environment] keys, values in one key and subkeys written out
// of order. Each runs at n and 4n; the program fails when the time at 4n is more
// than five times the time at n (see growth_check.h).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/sim/bench/growth_check.h"
#include "platform/sim/sim_machine.h"

namespace {

namespace fs = std::filesystem;
using kavlo::platform::Machine;

constexpr std::string_view kSystem =
    "[system]\nplatform = NT\nmajor = 5\nminor = 0\nbuild = 2195\ncomputer_name = BENCH\n"
    "windows_dir = C:\\WINNT\nsystem_dir = C:\\WINNT\\system32\nnow = 2002-05-14 10:32:05\n"
    "[drive C:]\ntype = fixed\nfile_system = NTFS\n";

// A machine folder in the temporary directory, removed at the end of a benchmark.
class BenchFolder {
public:
    explicit BenchFolder(const std::string& name) : root_(fs::temp_directory_path() / ("kavlo-sim-bench-" + name)) {
        fs::remove_all(root_);
        fs::create_directories(root_ / "drives/c");
    }
    ~BenchFolder() {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }
    void Write(const std::string& relative, const std::string& bytes) const {
        const fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    std::unique_ptr<Machine> Load(benchmark::State& state) const {
        kavlo::platform::sim::LoadResult loaded = kavlo::platform::sim::LoadMachine(root_.string());
        if (!loaded.machine) state.SkipWithError(loaded.error.c_str());
        return std::move(loaded.machine);
    }

private:
    fs::path root_;
};

std::string Number(long long i) { return std::to_string(100000 + i); }

// Names as in a current system32: thousands of "api-ms-win-core-..." files.
void BM_ListFilesSharingTheirFirstCharacters(benchmark::State& state) {
    const long long count = state.range(0);
    BenchFolder folder("short-names");
    folder.Write("machine.ini", std::string(kSystem));
    for (long long i = 0; i < count; ++i) folder.Write("drives/c/sys/api-ms-win-core-" + Number(i) + "-l1-1-0.dll", "");
    for (auto _ : state) {
        auto machine = folder.Load(state);
        if (!machine) break;
        auto found = machine->FindFiles("C:\\sys\\*");
        if (!found || found->size() != static_cast<std::size_t>(count) + 2) state.SkipWithError("wrong listing");
    }
}
BENCHMARK(BM_ListFilesSharingTheirFirstCharacters)->Arg(1000)->Arg(4000)->Repetitions(5)->Unit(benchmark::kMillisecond);

void BM_LoadFileSections(benchmark::State& state) {
    const long long count = state.range(0);
    BenchFolder folder("file-sections");
    std::string ini(kSystem);
    for (long long i = 0; i < count; ++i) {
        folder.Write("drives/c/f/" + Number(i) + ".txt", "");
        ini += "[file C:\\f\\" + Number(i) + ".txt]\nattributes = R\nmodified = 2001-01-01 00:00:00\n";
    }
    folder.Write("machine.ini", ini);
    for (auto _ : state) benchmark::DoNotOptimize(folder.Load(state));
}
BENCHMARK(BM_LoadFileSections)->Arg(2000)->Arg(8000)->Repetitions(5)->Unit(benchmark::kMillisecond);

void BM_LoadEnvironmentKeys(benchmark::State& state) {
    const long long count = state.range(0);
    BenchFolder folder("environment");
    std::string ini(kSystem);
    ini += "[environment]\n";
    for (long long i = 0; i < count; ++i) ini += "NAME" + Number(i) + " = value " + Number(i) + "\n";
    folder.Write("machine.ini", ini);
    for (auto _ : state) {
        auto machine = folder.Load(state);
        if (machine && !machine->Environment("name" + Number(count - 1))) state.SkipWithError("missing key");
    }
}
BENCHMARK(BM_LoadEnvironmentKeys)->Arg(10000)->Arg(40000)->Repetitions(5)->Unit(benchmark::kMillisecond);

void BM_LoadValuesOfOneKey(benchmark::State& state) {
    const long long count = state.range(0);
    BenchFolder folder("values");
    folder.Write("machine.ini", std::string(kSystem));
    std::string reg = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Many]\n";
    for (long long i = 0; i < count; ++i) reg += "\"Value" + Number(i) + "\"=dword:00000001\n";
    folder.Write("registry/00-values.reg", reg);
    for (auto _ : state) benchmark::DoNotOptimize(folder.Load(state));
}
BENCHMARK(BM_LoadValuesOfOneKey)->Arg(10000)->Arg(40000)->Repetitions(5)->Unit(benchmark::kMillisecond);

// Windows lists subkeys sorted; a file that writes them in reverse order must not
// make every addition move the ones before it.
void BM_LoadSubkeysInReverseOrder(benchmark::State& state) {
    const long long count = state.range(0);
    BenchFolder folder("subkeys");
    folder.Write("machine.ini", std::string(kSystem));
    std::string reg = "REGEDIT4\n";
    for (long long i = count - 1; i >= 0; --i) reg += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Many\\Key" + Number(i) + "]\n";
    folder.Write("registry/00-keys.reg", reg);
    for (auto _ : state) benchmark::DoNotOptimize(folder.Load(state));
}
BENCHMARK(BM_LoadSubkeysInReverseOrder)->Arg(10000)->Arg(40000)->Repetitions(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return kavlo::bench::RunWithGrowthCheck(argc, argv); }
