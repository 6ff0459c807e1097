// The engine's own commands: variables, text, tree, check items, value maps, IF.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "probes/registration.h"
#include "engine/tests/script_rig.h"

namespace kavlo::test {
namespace {

using platform::RegRoot;
using ::testing::ElementsAre;

// ------------------------------------------------------------------ SetVar:

struct SetVarCase {
    const char* line;
    std::string vars2;
    std::int32_t vari2;
    std::int32_t varb2;
};

class SetVar : public ::testing::TestWithParam<SetVarCase> {};

TEST_P(SetVar, StoresByNamePrefixUntrimmed) {
    ScriptRig rig;
    rig.context.vars2.SetString("before");
    rig.context.vari2.SetInt(-7);
    rig.context.varb2.SetInt(-8);
    ScriptFile file(std::string{});
    ScriptEngine(rig.context, StandardCommandTable()).Dispatch(file, GetParam().line, nullptr);
    EXPECT_EQ(rig.context.vars2.stringValue, GetParam().vars2);
    EXPECT_EQ(rig.context.vari2.intValue, GetParam().vari2);
    EXPECT_EQ(rig.context.varb2.intValue, GetParam().varb2);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SetVar,
    ::testing::Values(SetVarCase{"SetVar:VARS2=abc", "abc", -7, -8}, SetVarCase{"SetVar:VARS2=a=b ", "a=b ", -7, -8},
                      SetVarCase{"SetVar: VARS2=abc", "before", -7, -8},  // " VARS2" is another name
                      SetVarCase{"SetVar:VARS2X=x", "x", -7, -8},         // names match by their start
                      SetVarCase{"SetVar:VARI2=12abc", "before", 12, -8},
                      SetVarCase{"SetVar:VARI2=  -3", "before", -3, -8}, SetVarCase{"SetVar:VARB2=", "before", -7, 0},
                      SetVarCase{"SetVar:VARB2=99999999999", "before", -7, 2147483647},
                      SetVarCase{"SetVar:VARS2", "before", -7, -8},  // no "=": empty name
                      SetVarCase{"SetVar:OTHER=1", "before", -7, -8}));

// -------------------------------------------------------------- text commands

TEST(TextCommands, PercentHandling) {
    ScriptRig rig;
    EXPECT_EQ(rig.RunText("TextLine:50%% done\nText:50%% done").text, "50% done\n50%% done");
}

TEST(TextCommands, ConversionsOtherThanDoublePercentAreCopied) {
    ScriptRig rig;
    EXPECT_EQ(rig.RunText("TextLine:%s %n %d %").text, "%s %n %d %\n");
}

TEST(TextCommands, IgnoredWhenTheKindHasNoText) {
    ScriptRig rig;
    const auto& title = rig.RunTree("Text:a\nTextLine:b\nTextFileExpand:<WINDOWS>");
    EXPECT_EQ(title.text, "");
}

TEST(TextCommands, TextKeepsBraceTokensAndFileExpandExpandsPaths) {
    ScriptRig rig;
    EXPECT_EQ(rig.RunText("Text:<CLB>\nTextFileExpand:<WINDOWS>\\win.ini").text, "<CLB>C:\\WINNT\\win.ini");
}

// -------------------------------------------------------------- tree commands

TEST(TreeCommands, ChildrenBackAndText) {
    ScriptRig rig;
    const auto& title = rig.RunTree("TAddChild:A1\nTAddChild:B1\nTBack:\nTAddText:C1");
    const ResultNode& root = title.Root();
    ASSERT_THAT(ChildTitles(root), ElementsAre("A1"));
    EXPECT_THAT(ChildTitles(*root.children()[0]), ElementsAre("B1", "C1"));
}

TEST(TreeCommands, BackOnAnEmptyStackKeepsTheRoot) {
    ScriptRig rig;
    const auto& title = rig.RunTree("TAddChild:A\nTBack:\nTBack:\nTBack:\nTAddText:B");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("A", "B"));
}

TEST(TreeCommands, RootResetsTheStackAndStoresColumnsOnlyForExpandableKinds) {
    ScriptRig rig;
    const auto& plain = rig.RunTree("TAddChild:A\nTRoot:Name,20\nTAddText:B,1");
    EXPECT_THAT(ChildTitles(plain.Root()), ElementsAre("A", "B,1"));
    EXPECT_EQ(plain.Root().extra(), "");

    ScriptRig rig2;
    const auto& expandable = rig2.RunTree("TRoot:Name,20,Size,10\nTAddChild:foo.dll,1200\nTAddText:bar", "treexp");
    const ResultNode& root = expandable.Root();
    EXPECT_EQ(root.extra(), "Name,20,Size,10");
    ASSERT_THAT(ChildTitles(root), ElementsAre("foo.dll"));
    EXPECT_EQ(root.children()[0]->extra(), "1200");
    EXPECT_EQ(root.children()[0]->children()[0]->extra(), "1200");
}

TEST(TreeCommands, RootTakesTheTitleNameAndKindDetail) {
    ScriptRig rig;
    const auto& title = rig.RunTree("TAddText:x", "tree,sort");
    EXPECT_EQ(title.Root().title(), "T");
    EXPECT_EQ(title.Root().detail(), "sort");
    EXPECT_EQ(title.Root().children()[0]->detail(), "sort");
}

TEST(TreeCommands, DeepNestingDoesNotExhaustTheStack) {
    ScriptRig rig;
    std::string body;
    for (int i = 0; i < 100000; ++i) body += "TAddChild:n\n";
    const auto& title = rig.RunTree(body);
    EXPECT_EQ(title.Root().CountNodes(), 100001u);
}

TEST(TreeCommands, NodesBelowTheDeepestLevelGoToTheLastNodeThatMayHaveChildren) {
    ScriptRig rig;
    std::string body;
    const std::size_t chain = kMaxTreeLevels - 1;  // children of the root reach the deepest level
    for (std::size_t i = 0; i < chain + 50; ++i) body += "TAddChild:n" + std::to_string(i) + "\n";
    body += "TAddText:leaf\n";
    for (int i = 0; i < 51; ++i) body += "TBack:\n";
    body += "TAddText:after\n";
    const auto& title = rig.RunTree(body);

    const ResultNode* node = &title.Root();
    std::size_t level = 1;
    while (node->children().size() == 1) node = node->children()[0].get(), ++level;
    // The node above the deepest level took the 50 nodes meant to lie deeper, the
    // "TAddText:" below them, and after 51 steps back the text added at that level.
    EXPECT_EQ(level, kMaxTreeLevels - 1);
    ASSERT_EQ(node->children().size(), 53u);
    EXPECT_EQ(node->children()[0]->title(), "n" + std::to_string(chain - 1));
    EXPECT_EQ(node->children()[50]->title(), "n" + std::to_string(chain + 49));
    EXPECT_EQ(node->children()[51]->title(), "leaf");
    EXPECT_EQ(node->children()[52]->title(), "after");
    for (const auto& child : node->children()) EXPECT_TRUE(child->children().empty());
    EXPECT_EQ(title.Root().CountNodes(), 1 + chain + 50 + 2);
}

// ---------------------------------------------------------------- TIRCheck:

struct CheckCase {
    const char* name;
    const char* type;
    std::uint32_t value;
    bool withLock;
    std::uint32_t lock;
    const char* expected;
};

class TIRCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(TIRCheck, StateCodeFollowsValueTypeAndLock) {
    const CheckCase& c = GetParam();
    ScriptRig rig;
    rig.machine.SetDword(RegRoot::LocalMachine, "Software\\Acme", "Opt", c.value);
    if (c.withLock) rig.machine.SetDword(RegRoot::LocalMachine, "Software\\Acme", "Opt - L", c.lock);
    const auto& title =
        rig.RunTree(std::string("TIRCheck:HKLM\\Software\\Acme\\Opt,,x,,") + c.type + ",,5,, Item,,unused");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Codes, TIRCheck,
                         ::testing::Values(CheckCase{"CheckEqual", "ChkBox", 5, false, 0, "||00 Item"},
                                           CheckCase{"CheckDiffer", "ChkBox", 4, false, 0, "||01 Item"},
                                           CheckCase{"ButtonEqual", "ButBox", 5, false, 0, "||02 Item"},
                                           CheckCase{"ButtonDiffer", "", 4, false, 0, "||03 Item"},
                                           CheckCase{"CheckEqualLocked", "ChkBox Lck", 5, true, 1, "||03 Item"},
                                           CheckCase{"CheckEqualUnlocked", "ChkBox Lck", 5, true, 0, "||04 Item"},
                                           CheckCase{"CheckEqualLockMissing", "ChkBox Lck", 5, false, 0, "||04 Item"},
                                           CheckCase{"CheckDifferLocked", "ChkBox Lck", 4, true, 7, "||05 Item"},
                                           CheckCase{"CheckDifferUnlocked", "ChkBox Lck", 4, true, 0, "||06 Item"},
                                           CheckCase{"ButtonEqualLocked", "Lck", 5, true, 1, "||07 Item"},
                                           CheckCase{"ButtonEqualUnlocked", "Lck", 5, true, 0, "||08 Item"},
                                           CheckCase{"ButtonDifferUnlocked", "Lck", 4, true, 0, "||10 Item"},
                                           CheckCase{"ButtonDifferLocked", "Lck", 4, true, 2, "||11 Item"},
                                           CheckCase{"StrReadsNothing", "Str ChkBox", 5, false, 0, " Item"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TIRCheckValues, MissingOrNonNumberValuesReadAsZero) {
    ScriptRig rig;
    rig.machine.SetString(RegRoot::LocalMachine, "Software\\Acme", "Text", "5");
    const auto& title = rig.RunTree(
        "TIRCheck:HKLM\\Software\\Acme\\Text,,x,,ChkBox,,0,,a\n"
        "TIRCheck:HKLM\\Software\\Acme\\Gone,,x,,ChkBox,,0,,b\n"
        "TIRCheck:HKXX\\Software\\Acme\\Gone,,x,,ChkBox,,1,,c");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("||00a", "||00b", "||01c"));
}

TEST(TIRCheckValues, PathGoesThroughVariableSubstitution) {
    ScriptRig rig;
    rig.machine.SetDword(RegRoot::LocalMachine, "Software\\Acme", "Opt", 3);
    const auto& title = rig.RunTree("SetVar:VARS2=Acme\nTIRCheck:HKLM\\Software\\<VARS2>\\Opt,,x,,ChkBox,,3,,a");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("||00a"));
}

// ---------------------------------------------------------------- TIFCheck:

class FileCommands : public ::testing::Test {
protected:
    FileCommands() { rig.machine.AddFile("C:\\WINNT\\flags.bin", std::string("\x01\xff\x00hello\x00tail", 13)); }
    ScriptRig rig;
};

TEST_F(FileCommands, CheckBoxReadsOneSignedByteIntoVari1) {
    const auto& title = rig.RunTree(
        "TIFCheck:<WINDOWS>\\flags.bin,x,ChkBox,1,A,0,\n"
        "TIFCheck:<WINDOWS>\\flags.bin,x,ButBox,1,B,1,");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("||00A", "||03B"));
    EXPECT_EQ(rig.context.vari1.intValue, -1);
}

TEST_F(FileCommands, OffsetAtOrPastTheEndReadsZero) {
    rig.context.vari1.SetInt(9);
    const auto& title = rig.RunTree(
        "TIFCheck:<WINDOWS>\\flags.bin,x,ChkBox,0,A,13,\n"
        "TIFCheck:<WINDOWS>\\flags.bin,x,ChkBox,0,B,99999,\n"
        "TIFCheck:<WINDOWS>\\flags.bin,x,ButBox,0,C,-4,");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("||00A", "||00B", "||02C"));
    EXPECT_EQ(rig.context.vari1.intValue, 0);
}

TEST_F(FileCommands, StringTypeAppendsBytesUpToZero) {
    const auto& title = rig.RunTree(
        "TIFCheck:<WINDOWS>\\flags.bin,x,Text,0,Greeting: ,3,\n"
        "TIFCheck:<WINDOWS>\\flags.bin,x,Text,0,End: ,99,");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("Greeting: hello", "End: "));
}

TEST_F(FileCommands, MissingFileGivesAnEmptyNodeAndKeepsVari1) {
    rig.context.vari1.SetInt(4);
    const auto& title = rig.RunTree("TIFCheck:C:\\nope.bin,x,ChkBox,1,A,0,\nTIFCheck:C:\\nope.bin,x,Str,1,B,0,");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("", ""));
    EXPECT_EQ(rig.context.vari1.intValue, 4);
}

// ----------------------------------------------------------- value-map blocks

TEST(TIRTextValue, FirstMatchingNumberNamesTheNode) {
    ScriptRig rig;
    rig.machine.SetDword(RegRoot::LocalMachine, "Software\\Acme", "Mode", 2);
    const auto& title = rig.RunTree(
        "TIRTextValue:HKLM\\Software\\Acme\\Mode,,x,,Mode: {\n"
        " 1:One\n2:Two\n2:Again\n}\nTAddText:after");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("Mode: Two", "after"));
}

TEST(TIRTextValue, NoMatchAddsNothingAndTheBlockEndCountsForTheRun) {
    ScriptRig rig;
    const auto& title = rig.RunTree(
        "TIRTextValue:HKLM\\Software\\Acme\\Missing,,x,,Mode: {\n"
        "1:One\n}\nTAddText:after");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("after"));
}

TEST(TIRTextValue, MissingValueMatchesZero) {
    ScriptRig rig;
    const auto& title = rig.RunTree("TIRTextValue:HKLM\\Software\\Acme\\Missing,,x,,{P: {\n0:zero\n}");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("P: zero"));  // every "{" leaves the prefix
}

TEST_F(FileCommands, TIFTextValueMapsTheByteAndSetsVari1) {
    const auto& title = rig.RunTree("TIFTextValue:<WINDOWS>\\flags.bin,x,State: ,1 {\n0:off\n-1:on\n}\nTAddText:after");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("State: on", "after"));
    EXPECT_EQ(rig.context.vari1.intValue, -1);
}

TEST_F(FileCommands, TIFTextValueOnAMissingFileLetsTheBlockRun) {
    rig.context.vari1.SetInt(3);
    const auto& title =
        rig.RunTree("TIFTextValue:C:\\nope.bin,x,State: ,1 {\n0:off\nTAddText:inside\n}\nTAddText:after");
    EXPECT_THAT(ChildTitles(title.Root()), ElementsAre("inside", "after"));
    EXPECT_EQ(rig.context.vari1.intValue, 3);
}

// ---------------------------------------------------------------------- IF

struct IfCase {
    const char* condition;
    bool runs;
};

class IfWithVari1Three : public ::testing::TestWithParam<IfCase> {};

TEST_P(IfWithVari1Three, TruthTable) {
    ScriptRig rig;
    rig.context.vari1.SetInt(3);
    const auto& title = rig.RunText(std::string("IF ") + GetParam().condition + " {\nText:in\n}\nText:out");
    EXPECT_EQ(title.text, GetParam().runs ? "inout" : "out") << GetParam().condition;
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, IfWithVari1Three,
    ::testing::Values(IfCase{"VARI1,==,3", true}, IfCase{"VARI1,==,4", false},
                      // "!=" runs on equality, as existing scripts expect
                      IfCase{"VARI1,!=,3", true}, IfCase{"VARI1,!=,4", false},
                      // "<" runs when VARI1 >= value, ">" when VARI1 <= value; "<=" / ">=" act as "<" / ">"
                      IfCase{"VARI1,<,5", false}, IfCase{"VARI1,<,3", true}, IfCase{"VARI1,<=,3", true},
                      IfCase{"VARI1,>,5", true}, IfCase{"VARI1,>,2", false}, IfCase{"VARI1,>=,2", false},
                      IfCase{"VARI1, ==,4", true},  // a blank before the operator: unknown, runs
                      IfCase{"VARI1,~,4", true}, IfCase{"  VARI1,==,3  ", true}, IfCase{"VARI1,==,3abc", true},
                      IfCase{"", true}));

TEST(If, OtherNamesCompareVari1AsACharacter) {
    ScriptRig rig;
    rig.context.vari1.SetInt('A' + 0x100);  // only the low byte counts
    const auto& title = rig.RunText(
        "IF x,==,A {\nText:1\n}\n"  // runs when the character does NOT start with the value
        "IF x,==,B {\nText:2\n}\n"
        "IF x,!=,A {\nText:3\n}\n"
        "IF x,!=,B {\nText:4\n}\n"
        "IF x,!=, {\nText:5\n}\n"  // an empty value starts any text
        "IF x,<,A {\nText:6\n}");
    EXPECT_EQ(title.text, "2356");
}

TEST(If, SkippedBlocksMayNestAndTheRunContinuesAfterThem) {
    ScriptRig rig;
    rig.context.vari1.SetInt(0);
    const auto& title = rig.RunText("IF VARI1,==,1 {\nText:a\nIF VARI1,==,0 {\nText:b\n}\nText:c\n}\nText:d");
    EXPECT_EQ(title.text, "d");
}

TEST(If, WorksWithoutATitle) {
    ScriptRig rig;
    rig.context.vari1.SetInt(1);
    ScriptFile file(std::string("Text:x\n}\nrest\n"));
    ScriptEngine engine(rig.context, StandardCommandTable());
    engine.Dispatch(file, "IF VARI1,==,2 {", nullptr);
    EXPECT_EQ(file.ReadLine().value_or("<end>"), "rest");
}

}  // namespace
}  // namespace kavlo::test
