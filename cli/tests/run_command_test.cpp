// "kavlo run" end to end: a script in a temporary folder, the registry tests'
// simulated machine, output captured from stdout.
#include <gtest/gtest.h>

#include "cli/tests/command_outcome.h"
#include "cli/tree_text.h"
#include "engine/testing/script_runner.h"

namespace kavlo::cli {
namespace {

using kavlo::cli::testing::ExpectFailures;
using kavlo::cli::testing::ExpectSameAsFile;
using kavlo::cli::testing::Kavlo;
using kavlo::cli::testing::Outcome;

const std::string kMachine = std::string(KAVLO_TEST_SOURCE_DIR) + "/cli/tests/data/machine";

constexpr std::string_view kScript =
    "VERSION: 0105\n"
    "[TITLE LIST] {\n"
    "Reader\n"
    "Writer\n"
    "Tree\n"
    "[OS:Win95]Nine\n"
    "}\n"
    "[TITLE]\nReader\ntext\nReadRValStr:HKCU\\Software\\KavloEngineTest\\Str\nTextLine:read 100%%\n}\n"
    "[TITLE]\nWriter\ntext\nTextFileExpand:<VAL1>\n}\n"
    "[TITLE]\nTree\ntreexp,Key,30\nTRoot:Key,30\nTERegList:HKCU\\Software\\KavloEngineTest\\Tree\\B\n}\n";

Outcome RunKavlo(Args args) { return Kavlo(RunCommand, std::move(args)); }

class RunCommandTest : public ::testing::Test {
protected:
    RunCommandTest() : script(dir.Write("Probe.dbg", kScript)) {
        dir.Write("Empty.dbg", "");
        dir.Write("Garbage.dbg", std::string("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16));
    }
    kavlo::testing::TempFolder dir;
    std::string script;
};

TEST_F(RunCommandTest, TextOfEveryTitleJsonOfNamedTitlesInTheGivenOrderAndTheUsage) {
    // Text: the variable set by one title is read by the next.
    const Outcome text = RunKavlo({script, "--machine", kMachine});
    EXPECT_EQ(text.status, 0) << text.err;
    const Outcome json =
        RunKavlo({script, "--format", "json", "--title", "Tree", "--machine", kMachine, "--title", "Writer"});
    EXPECT_EQ(json.status, 0) << json.err;
    const Outcome help = RunKavlo({"--help"});
    EXPECT_EQ(help.status, 0);
    ExpectSameAsFile("$ kavlo run\n" + text.out + "$ kavlo run --format json --title Tree --title Writer\n" + json.out +
                         "$ kavlo run --help\n" + help.out,
                     "probe-run.txt");
}

TEST_F(RunCommandTest, DeepTreesPrintLinesOfBoundedLength) {
    // Every line indented by its depth would make the output grow with the square of it.
    std::string body = "TRoot:Deep\n";
    for (int i = 0; i < 5000; ++i) body += "TAddChild:n\n";
    const std::string deep = dir.Write("Deep.dbg", "[TITLE LIST] {\nDeep\n}\n[TITLE]\nDeep\ntree\n" + body + "}\n");
    const Outcome r = RunKavlo({deep, "--machine", kMachine});
    ASSERT_EQ(r.status, 0) << r.err;
    std::size_t lines = 0, longest = 0;
    for (std::size_t start = 0, end; (end = r.out.find('\n', start)) != std::string::npos; start = end + 1, ++lines)
        longest = std::max(longest, end - start);
    EXPECT_GT(lines, 5000u);
    EXPECT_LE(longest, 100u);
    // Blanks stop at the limit; from there the level is written in brackets.
    const std::string limit(2 * kMaxIndentLevels, ' ');
    EXPECT_NE(r.out.find("\n" + limit + "[" + std::to_string(kMaxIndentLevels) + "] n\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n" + std::string(2 * kMaxIndentLevels - 2, ' ') + "n\n"), std::string::npos);
    EXPECT_NE(r.out.find("\n" + limit + "[5001] n\n"), std::string::npos);
}

TEST_F(RunCommandTest, FailuresExitNonZeroWithAMessage) {
    ExpectFailures({
        {RunCommand, {}, 2, "no script given"},
        {RunCommand, {script, "--fast"}, 2, "unknown option '--fast'"},
        {RunCommand, {script, "--title"}, 2, "needs a value"},
        {RunCommand, {script, "--format", "xml"}, 2, "unknown format 'xml'"},
        {RunCommand, {script, script}, 2, "more than one script"},
        {RunCommand, {"nowhere/none.dbg", "--machine", kMachine}, 1, "cannot open script"},
        {RunCommand, {script, "--machine", "nowhere-machine"}, 1, "cannot load the machine"},
        {RunCommand, {script, "--machine", kMachine, "--title", "Nine"}, 1, "no title 'Nine'"},
        {RunCommand, {dir.File("Empty.dbg"), "--machine", kMachine}, 1, "Empty.dbg' has no titles"},
        {RunCommand, {dir.File("Garbage.dbg"), "--machine", kMachine}, 1, "Garbage.dbg' has no titles"},
    });
}

}  // namespace
}  // namespace kavlo::cli
