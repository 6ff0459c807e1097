// "kavlo run" end to end: a script in a temporary folder, the registry tests'
// simulated machine, output captured from stdout.
#include <gtest/gtest.h>

#include "cli/tests/command_outcome.h"
#include "cli/tree_text.h"
#include "engine/testing/script_runner.h"

namespace kavlo::cli {
namespace {

using kavlo::cli::testing::ExpectSameAsFile;
using kavlo::cli::testing::Kavlo;
using kavlo::cli::testing::Outcome;

const std::string kMachine = std::string(KAVLO_TEST_SOURCE_DIR) + "/probes/registry/tests/data/machine";

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

TEST_F(RunCommandTest, TextOfEveryTitleAndJsonOfNamedTitlesInTheGivenOrder) {
    // Text: the variable set by one title is read by the next.
    const Outcome text = RunKavlo({script, "--machine", kMachine});
    EXPECT_EQ(text.status, 0) << text.err;
    const Outcome json =
        RunKavlo({script, "--format", "json", "--title", "Tree", "--machine", kMachine, "--title", "Writer"});
    EXPECT_EQ(json.status, 0) << json.err;
    ExpectSameAsFile("$ kavlo run\n" + text.out + "$ kavlo run --format json --title Tree --title Writer\n" + json.out,
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

struct BadCase {
    const char* name;
    Args args;
    int status;
    const char* message;
};

class RunCommandErrors : public RunCommandTest, public ::testing::WithParamInterface<BadCase> {};

TEST_P(RunCommandErrors, ExitNonZeroWithAMessage) {
    Args args = GetParam().args;
    for (std::string& arg : args) {
        if (arg == "SCRIPT") arg = script;
        if (arg == "MACHINE") arg = kMachine;
        if (arg == "EMPTY" || arg == "GARBAGE") arg = dir.folder() + (arg == "EMPTY" ? "/Empty.dbg" : "/Garbage.dbg");
    }
    const Outcome r = RunKavlo(args);
    EXPECT_EQ(r.status, GetParam().status);
    EXPECT_NE(r.err.find(GetParam().message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunCommandErrors,
    ::testing::Values(BadCase{"NoScript", {}, 2, "no script given"},
                      BadCase{"UnknownOption", {"SCRIPT", "--fast"}, 2, "unknown option '--fast'"},
                      BadCase{"MissingValue", {"SCRIPT", "--title"}, 2, "needs a value"},
                      BadCase{"BadFormat", {"SCRIPT", "--format", "xml"}, 2, "unknown format 'xml'"},
                      BadCase{"TwoScripts", {"SCRIPT", "SCRIPT"}, 2, "more than one script"},
                      BadCase{"MissingScript", {"nowhere/none.dbg", "--machine", "MACHINE"}, 1, "cannot open script"},
                      BadCase{"BadMachine", {"SCRIPT", "--machine", "nowhere-machine"}, 1, "cannot load the machine"},
                      BadCase{
                          "UnknownTitle", {"SCRIPT", "--machine", "MACHINE", "--title", "Nine"}, 1, "no title 'Nine'"},
                      BadCase{"EmptyScript", {"EMPTY", "--machine", "MACHINE"}, 1, "Empty.dbg' has no titles"},
                      BadCase{"GarbageScript", {"GARBAGE", "--machine", "MACHINE"}, 1, "Garbage.dbg' has no titles"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RunCommandHelp, PrintsUsage) {
    const Outcome r = RunKavlo({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("usage: kavlo run", 0), 0u);
}

}  // namespace
}  // namespace kavlo::cli
