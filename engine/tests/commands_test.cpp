// The engine's own commands: variables, text, tree, IF.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "probes/registration.h"
#include "engine/testing/script_rig.h"

namespace kavlo::test {
namespace {

using testing::ChildTitles;
using ::testing::ElementsAre;
using testing::ScriptRig;

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
    rig.Dispatch(GetParam().line, nullptr);
    EXPECT_EQ(rig.context.vars2.stringValue, GetParam().vars2);
    EXPECT_EQ(rig.context.vari2.intValue, GetParam().vari2);
    EXPECT_EQ(rig.context.varb2.intValue, GetParam().varb2);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SetVar,
    ::testing::Values(SetVarCase{"SetVar:VARS2=a=b ", "a=b ", -7, -8},
                      SetVarCase{"SetVar: VARS2=abc", "before", -7, -8},  // " VARS2" is another name
                      SetVarCase{"SetVar:VARS2X=x", "x", -7, -8},         // names match by their start
                      // numbers read as atoi reads them, saturating at the bounds
                      SetVarCase{"SetVar:VARI2=12abc", "before", 12, -8},
                      SetVarCase{"SetVar:VARI2=  -3", "before", -3, -8}, SetVarCase{"SetVar:VARB2=", "before", -7, 0},
                      SetVarCase{"SetVar:VARB2=99999999999", "before", -7, 2147483647},
                      SetVarCase{"SetVar:VARI2=\t+7", "before", 7, -8}, SetVarCase{"SetVar:VARI2=- 1", "before", 0, -8},
                      SetVarCase{"SetVar:VARI2=x1", "before", 0, -8},
                      SetVarCase{"SetVar:VARI2=-2147483648", "before", -2147483647 - 1, -8},
                      SetVarCase{"SetVar:VARI2=-99999999999999", "before", -2147483647 - 1, -8},
                      SetVarCase{"SetVar:VARS2", "before", -7, -8},  // no "=": empty name
                      SetVarCase{"SetVar:OTHER=1", "before", -7, -8}));

// A "tree" title's body and the outline of its tree; such a title keeps no
// text and, not being expandable, no columns.
struct TreeCase {
    const char* name;
    const char* body;
    const char* outline;
};

class TreeCommands : public ::testing::TestWithParam<TreeCase> {};

TEST_P(TreeCommands, Build) {
    ScriptRig rig;
    const auto& title = rig.RunTree(GetParam().body);
    EXPECT_EQ(testing::Outline(title.Root()), GetParam().outline);
    EXPECT_EQ(title.text, "");
    EXPECT_EQ(title.Root().extra(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Bodies, TreeCommands,
    ::testing::Values(
        TreeCase{"ChildrenBackAndText", "TAddChild:A1\nTAddChild:B1\nTBack:\nTAddText:C1", "T\n  A1\n    B1\n    C1\n"},
        TreeCase{"BackOnAnEmptyStackKeepsTheRoot", "TAddChild:A\nTBack:\nTBack:\nTBack:\nTAddText:B", "T\n  A\n  B\n"},
        TreeCase{"RootResetsTheStack", "TAddChild:A\nTRoot:Name,20\nTAddText:B,1", "T\n  A\n  B,1\n"},
        TreeCase{"TextCommandsAreIgnored", "Text:a\nTextLine:b\nTextFileExpand:<WINDOWS>\nTAddText:x", "T\n  x\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TreeBuilding, ExpandableRootStoresTheColumnsAndTheKindDetailOnEveryNode) {
    ScriptRig rig;
    const auto& expandable = rig.RunTree("TRoot:Name,20,Size,10\nTAddChild:foo.dll,1200\nTAddText:bar", "treexp,sort");
    const ResultNode& root = expandable.Root();
    EXPECT_EQ(root.extra(), "Name,20,Size,10");
    ASSERT_THAT(ChildTitles(root), ElementsAre("foo.dll"));
    EXPECT_EQ(root.children()[0]->extra(), "1200");
    EXPECT_EQ(root.children()[0]->children()[0]->extra(), "1200");
    // The kind line's detail goes to every node.
    EXPECT_EQ(root.detail(), "sort");
    EXPECT_EQ(root.children()[0]->detail(), "sort");
}

TEST(TreeBuilding, NodesBelowTheDeepestLevelGoToTheLastNodeThatMayHaveChildren) {
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
    std::vector<std::string> expected;
    for (std::size_t i = chain - 1; i < chain + 50; ++i) expected.push_back("n" + std::to_string(i));
    expected.insert(expected.end(), {"leaf", "after"});
    EXPECT_THAT(ChildTitles(*node), ::testing::ElementsAreArray(expected));
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

}  // namespace
}  // namespace kavlo::test
