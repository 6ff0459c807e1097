// The interpreter: line syntax, braces, skipped blocks, comments, dispatch groups, "[OS:" blocks.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "probes/registration.h"
#include "engine/testing/script_rig.h"

namespace kavlo::test {
namespace {

using ::testing::ElementsAre;
using namespace kavlo::testing;

// The body of a "text" title and the text it gives.
struct TextCase {
    const char* name;
    const char* body;
    const char* expected;
};

class TextOfBodies : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextOfBodies, Gives) {
    ScriptRig rig;
    const TextCase& c = GetParam();
    EXPECT_EQ(rig.RunText(c.body).text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TextOfBodies,
    ::testing::Values(TextCase{"CommentLinesDoNothingButTrailingSlashesAreArgument",
                               "   // Text:hidden\nText:a // note", "a // note"},
                      TextCase{"ArgumentIsTakenUntrimmedAfterTheName", "   Text:  two blanks  ", "  two blanks  "},
                      // "} Text: a" closes the body and is not run; nothing after it belongs to the title.
                      TextCase{"LineWithClosingBraceIsNeverExecuted", "Text:x\n} Text: a\nText:after", "x"},
                      // "Text: a {" runs, and its block needs its own "}" before the body's end.
                      TextCase{"LineWithOpeningBraceRunsAndOpensABlock", "Text: a {\nText:b\n}\nText:c", " a {bc"},
                      TextCase{"LineWithBothBracesIsCountedButNotRun", "Text:<{}>\nText:still", "still"},
                      TextCase{"NamesAreCaseSensitiveAndUnknownLinesAreIgnored",
                               "text:lower\nTEXT:upper\nplain words\n\n{\n}\nText:ok", "ok"},
                      TextCase{"TextLineIsNotCaughtByText", "TextLine:one", "one\n"},
                      TextCase{"OnlyTextLineTurnsDoublePercentIntoOneAndOtherConversionsAreCopied",
                               "TextLine:50%% done %%% %s %n %d %\nText:50%% done",
                               "50% done %% %s %n %d %\n50%% done"},
                      TextCase{"TextKeepsBraceTokensAndFileExpandExpandsPaths",
                               "Text:<CLB>\nTextFileExpand:<WINDOWS>\\win.ini", "<CLB>C:\\WINNT\\win.ini"},
                      TextCase{"SkippedBlocksMayNestAndTheRunContinuesAfterThem",
                               "IF VARI1,==,1 {\nText:a\nIF VARI1,==,0 {\nText:b\n}\nText:c\n}\nText:d", "d"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Interpreter, BinaryBytesAndLongLinesPassThrough) {
    ScriptRig rig;
    std::string longText(200000, 'x');
    longText[5] = '\0';
    longText[6] = '\xff';
    EXPECT_EQ(rig.RunText("Text:" + longText).text, longText);
}

TEST(Interpreter, RunsOnlyPendingTitlesAndEachRunReplacesTheResult) {
    ScriptRig rig;
    auto file = rig.Load("[TITLE LIST] {\nT\n}\n[TITLE]\nT\ntreetext\nText:a\nTAddChild:n\n}\n");
    TitleRecord& title = *file->FindTitle("T");
    const auto run = [&] { ScriptEngine(rig.context, StandardCommandTable()).RunTitle(title); };
    title.runPending = 0;
    title.text = "kept";
    run();
    EXPECT_EQ(title.text, "kept");
    title.runPending = 1;
    run();
    title.runPending = 1;
    run();
    EXPECT_EQ(title.text, "a");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("n"));
    EXPECT_EQ(title.Root().title(), "T");
    // A script that vanished ends the run quietly, with nothing gathered.
    std::filesystem::remove(file->path);
    title.runPending = 1;
    run();
    EXPECT_EQ(title.text, "");
    EXPECT_EQ(title.runPending, 0);
}

// ------------------------------------------- "[OS:" blocks, dispatch groups

int groupACalls = 0;
int groupA2Calls = 0;
int fileInfoCalls = 0;
std::string lastArgument;
void CountA(CommandCall& call) {
    ++groupACalls;
    lastArgument = std::string(call.afterColon);
}
void CountA2(CommandCall&) { ++groupA2Calls; }
void CountFileInfo(CommandCall&) { ++fileInfoCalls; }

struct OsCase {
    const char* name;
    OsInfo os;
    const char* text;  ///< of a body with a block for each family
    int a2Calls;       ///< of one group A2 line
};

class PerSystem : public ::testing::TestWithParam<OsCase> {};

TEST_P(PerSystem, OsBlocksAndGroupA2RunOnlyOnTheirSystems) {
    ScriptRig rig(GetParam().os);
    const auto& title = rig.RunText(
        "Text:<\n"
        "[OS:Win95,Win98] {\nText:9x\nIF VARI1,==,0 {\nText:nested\n}\nText:9x-end\n}\n"
        "[OS:NT4.0] {\nText:nt4\n}\n"
        "[OS:NT5.0] {\nText:nt5\n}\n"
        "[OTHER]Text:never\n"
        "Text:>");
    EXPECT_EQ(title.text, GetParam().text);

    CommandTable table;
    ASSERT_TRUE(table.Bind("TERegList:", &CountA));
    ASSERT_TRUE(table.Bind("TRegKeyRightsList:", &CountA2));
    ASSERT_TRUE(table.Bind("FileInfo:", &CountFileInfo));
    groupACalls = groupA2Calls = fileInfoCalls = 0;
    ScriptFile file(std::string{});
    ScriptEngine engine(rig.context, table);
    engine.Dispatch(file, "  TERegList: a", nullptr);
    engine.Dispatch(file, "TRegKeyRightsList: a", nullptr);
    engine.Dispatch(file, "CFileInfo: x", nullptr);  // its own silent row, not "FileInfo:"
    EXPECT_EQ(groupACalls, 1);
    EXPECT_EQ(lastArgument, " a");  // the text after the first ":" of the trimmed line
    EXPECT_EQ(groupA2Calls, GetParam().a2Calls);
    EXPECT_EQ(fileInfoCalls, 0);
}

INSTANTIATE_TEST_SUITE_P(Systems, PerSystem,
                         ::testing::Values(OsCase{"Win95", Win95(), "<9xnested9x-end>", 0},
                                           OsCase{"NT351", OsInfo{"NT3.51", "NT 3.5", 300, true}, "<>", 0},
                                           OsCase{"NT40", Nt40(), "<nt4>", 1}, OsCase{"NT50", Nt50(), "<nt5>", 1},
                                           OsCase{"XP", OsInfo{"NT5.1", "Windows XP", 51, true}, "<>", 1},
                                           // Later systems are "NT" alone, which every NT list contains.
                                           OsCase{"NT10", OsInfo{"NT", "Windows 10 Pro", 100, true}, "<nt4nt5>", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kavlo::test
