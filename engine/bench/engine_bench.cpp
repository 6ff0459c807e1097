// Dispatch speed of a long title.
#include <benchmark/benchmark.h>

#include <string>

#include "probes/registration.h"
#include "engine/script_engine.h"
#include "engine/script_catalog.h"
#include "engine/testing/script_rig.h"

namespace {

// A title of `lines` body lines mixing text output and tree building.
std::string MixedTitle(std::size_t lines) {
    std::string script = "[TITLE LIST] {\nBig\n}\n[TITLE]\nBig\ntreetext\nTRoot:\n";
    static const char* const kPattern[] = {
        "Text:Some output text of a probe\n",
        "TAddChild:Node with a title\n",
        "TextLine:50%% done\n",
        "TAddText:Leaf item\n",
        "// a comment line\n",
        "TBack:\n",
        "  Text:indented output\n",
        "TAddChild:Another node\n",
        "TAddText:Leaf,with,commas\n",
        "TBack:\n",
    };
    for (std::size_t i = 0; i < lines; ++i) script += kPattern[i % std::size(kPattern)];
    script += "}\n";
    return script;
}

void BM_DispatchMixedTitle(benchmark::State& state) {
    const auto lines = static_cast<std::size_t>(state.range(0));
    kavlo::testing::FakeMachine machine;
    kavlo::AppContext context(machine, kavlo::testing::Nt50(), "C:\\");
    kavlo::ScriptFile script(MixedTitle(lines));
    auto file = kavlo::ScriptCatalog(context, kavlo::StandardCommandTable()).LoadScript(script, "bench.dbg", "bench");
    kavlo::TitleRecord& title = *file->titles.front();
    for (auto _ : state) {
        title.runPending = 1;
        kavlo::ScriptEngine engine(context, kavlo::StandardCommandTable());
        engine.RunTitle(title, script);
        benchmark::DoNotOptimize(title.text.data());
    }
    state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines) * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(BM_DispatchMixedTitle)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
