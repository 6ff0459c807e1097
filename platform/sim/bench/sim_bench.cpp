// Loading a simulated machine and listing its folders grow linearly with their
// input: many files whose names share their first characters (8.3 names), many
// [file] sections, [environment] keys, values in one key and subkeys written out
// of order. Each runs at n and 4n; the program fails when the time at 4n is more
// than five times the time at n (see growth_check.h).
#include <benchmark/benchmark.h>

#include <string>

#include "platform/sim/bench/growth_check.h"
#include "platform/sim/sim_machine.h"
#include "platform/testing/temp_folder.h"

namespace {

using kavlo::platform::Machine;
using kavlo::testing::kMinimalSystem;
using kavlo::testing::TempFolder;

std::unique_ptr<Machine> Load(const TempFolder& folder, benchmark::State& state) {
    kavlo::platform::sim::LoadResult loaded = kavlo::platform::sim::LoadMachine(folder.folder());
    if (!loaded.machine) state.SkipWithError(loaded.error.c_str());
    return std::move(loaded.machine);
}

std::string Number(long long i) { return std::to_string(100000 + i); }

// Names as in a current system32: thousands of "api-ms-win-core-..." files.
void BM_ListFilesSharingTheirFirstCharacters(benchmark::State& state) {
    const long long count = state.range(0);
    TempFolder folder;
    folder.Write("machine.ini", kMinimalSystem);
    for (long long i = 0; i < count; ++i) folder.Write("drives/c/sys/api-ms-win-core-" + Number(i) + "-l1-1-0.dll", "");
    for (auto _ : state) {
        auto machine = Load(folder, state);
        if (!machine) break;
        auto found = machine->FindFiles("C:\\sys\\*");
        if (!found || found->size() != static_cast<std::size_t>(count) + 2) state.SkipWithError("wrong listing");
    }
}
BENCHMARK(BM_ListFilesSharingTheirFirstCharacters)->Arg(1000)->Arg(4000)->Repetitions(5)->Unit(benchmark::kMillisecond);

void BM_LoadFileSections(benchmark::State& state) {
    TempFolder folder;
    std::string ini(kMinimalSystem);
    for (long long i = 0; i < state.range(0); ++i) {
        folder.Write("drives/c/f/" + Number(i) + ".txt", "");
        ini += "[file C:\\f\\" + Number(i) + ".txt]\nattributes = R\nmodified = 2001-01-01 00:00:00\n";
    }
    folder.Write("machine.ini", ini);
    for (auto _ : state) benchmark::DoNotOptimize(Load(folder, state));
}
BENCHMARK(BM_LoadFileSections)->Arg(2000)->Arg(8000)->Repetitions(5)->Unit(benchmark::kMillisecond);

void BM_LoadEnvironmentKeys(benchmark::State& state) {
    const long long count = state.range(0);
    TempFolder folder;
    std::string ini = std::string(kMinimalSystem) + "[environment]\n";
    for (long long i = 0; i < count; ++i) ini += "NAME" + Number(i) + " = value " + Number(i) + "\n";
    folder.Write("machine.ini", ini);
    for (auto _ : state) {
        auto machine = Load(folder, state);
        if (machine && !machine->Environment("name" + Number(count - 1))) state.SkipWithError("missing key");
    }
}
BENCHMARK(BM_LoadEnvironmentKeys)->Arg(10000)->Arg(40000)->Repetitions(5)->Unit(benchmark::kMillisecond);

void BM_LoadValuesOfOneKey(benchmark::State& state) {
    TempFolder folder;
    folder.Write("machine.ini", kMinimalSystem);
    std::string reg = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Many]\n";
    for (long long i = 0; i < state.range(0); ++i) reg += "\"Value" + Number(i) + "\"=dword:00000001\n";
    folder.Write("registry/00-values.reg", reg);
    for (auto _ : state) benchmark::DoNotOptimize(Load(folder, state));
}
BENCHMARK(BM_LoadValuesOfOneKey)->Arg(10000)->Arg(40000)->Repetitions(5)->Unit(benchmark::kMillisecond);

// Windows lists subkeys sorted; a file that writes them in reverse order must not
// make every addition move the ones before it.
void BM_LoadSubkeysInReverseOrder(benchmark::State& state) {
    TempFolder folder;
    folder.Write("machine.ini", kMinimalSystem);
    std::string reg = "REGEDIT4\n";
    for (long long i = state.range(0) - 1; i >= 0; --i)
        reg += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Many\\Key" + Number(i) + "]\n";
    folder.Write("registry/00-keys.reg", reg);
    for (auto _ : state) benchmark::DoNotOptimize(Load(folder, state));
}
BENCHMARK(BM_LoadSubkeysInReverseOrder)->Arg(10000)->Arg(40000)->Repetitions(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return kavlo::bench::RunWithGrowthCheck(argc, argv); }
