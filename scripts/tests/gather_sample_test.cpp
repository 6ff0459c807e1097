// Gathers the sample machine with the bundled scripts, saves the report, opens
// it again and compares every title with scripts/tests/expected/office7.txt:
// each title's kind, its text as is and its tree with the raw node titles
// (state fields and markers included), two blanks of indent per level; a title
// still pending after the gathering says so. The
// extended script, which the catalog leaves out, is run on the sample machine
// and compared in the same file.
//
// After a deliberate change of a script or a probe, regenerate the file with
//     KAVLO_UPDATE_EXPECTED=1 build/native/scripts/tests/script_tests
// and read its diff before committing it.
#include <gtest/gtest.h>

#include "engine/os_detection.h"
#include "engine/script_catalog.h"
#include "engine/script_engine.h"
#include "engine/tree_walk.h"
#include "platform/machine_factory.h"
#include "platform/testing/expected_output.h"
#include "probes/registration.h"
#include "scripts/tests/bundled.h"

namespace kavlo::scripts_test {
namespace {

void AppendTitle(std::string& out, const std::string& script, const TitleRecord& title) {
    out += "== " + script + " / " + title.name + " (" + title.kind + ") ==\n" + title.text;
    if (title.runPending != 0) out += "(still pending)\n";
    if (!title.text.empty() && title.text.back() != '\n') out += "\n";
    WalkTree(title.Root(), kAnyDepth, [&out](const ResultNode& node, std::size_t depth) {
        if (depth > 0) out += std::string((depth - 1) * 2, ' ') + node.title() + "\n";
        return Visit::Children;
    });
}

// The extended script is not in the catalog; support adds it by hand, so it
// must run as well as the others.
std::string ExtendedScriptOnTheSample() {
    platform::MachineChoice choice = platform::OpenMachine(SampleMachineDir());
    if (!choice.machine) return "no sample machine: " + choice.error;
    AppContext context(*choice.machine, DetectOs(*choice.machine), ScriptsDir());
    const auto script =
        ScriptCatalog(context, StandardCommandTable()).LoadScript(ScriptsDir() + "/Extended.dbg", "Extended");
    if (!script) return "Extended.dbg did not load";
    std::string out;
    for (const auto& title : script->titles) {
        ScriptEngine(context, StandardCommandTable()).RunTitle(*title);
        AppendTitle(out, script->fileName, *title);
    }
    return out;
}

TEST(SampleGathered, EveryTitleMatchesTheExpectedReport) {
    platform::MachineChoice choice = platform::OpenMachine(SampleMachineDir());
    ASSERT_TRUE(choice.machine) << choice.error;
    std::string error;
    const Catalog report = SavedReportOf(std::move(choice.machine), error);
    ASSERT_EQ(error, "");
    ASSERT_EQ(report.files.size(), 8u) << "the configuration selects the five routine scripts and three products";
    std::string actual;
    for (const auto& file : report.files)
        for (const auto& title : file->titles) AppendTitle(actual, file->fileName, *title);
    actual += ExtendedScriptOnTheSample();

    kavlo::testing::ExpectSameAsFile(actual, "scripts/tests/expected/office7.txt");
}

}  // namespace
}  // namespace kavlo::scripts_test
