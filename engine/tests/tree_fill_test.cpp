#include "engine/tree_fill.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kavlo {
namespace {

using ::testing::ElementsAre;

// The tree a view shows by opening every level: "text[state]" per item, two
// blanks of indent per level.
std::vector<std::string> OutlineByLevels(const std::vector<TreeLevelItem>& top,
                                         std::vector<TreeLevelItem> (*level)(const ResultNode&), int depth = 0) {
    std::vector<std::string> lines;
    for (const TreeLevelItem& item : top) {
        lines.push_back(std::string(static_cast<std::size_t>(depth) * 2, ' ') + item.text + "[" +
                        std::to_string(item.stateImage) + "]");
        auto sub = OutlineByLevels(level(*item.node), level, depth + 1);
        lines.insert(lines.end(), sub.begin(), sub.end());
    }
    return lines;
}

TEST(TreeLevel, StatesAndSortingUpToTheLastNodeThatAsksForIt) {
    ResultNode root("Title", "");
    ResultNode& b = root.AddChild("b");
    b.AddChild("|01|z");
    b.AddChild("y");
    root.AddChild("||03x");
    root.AddChild("a");
    ResultNode& sorted = root.AddChild("c");
    sorted.SetTitleAndDetail("c", "sort");
    root.AddChild("0 after the sort");
    // A state field is four characters, a blank included, and gives the state image.
    for (const char* title : {"||01 Enable logging", "|2| Enabled", "||1", "a|12"}) root.AddChild(title);
    EXPECT_THAT(OutlineByLevels(TreeLevel(root), &TreeLevel),
                ElementsAre("a[0]", "b[0]", "  z[1]", "  y[0]", "c[0]", "x[3]", "0 after the sort[0]",
                            " Enable logging[1]", "Enabled[2]", "[1]", "a|12[0]"));
}

TEST(ExpandableTreeLevel, OnlyMarkedNodesAppearAndUnmarkedOnesLiftTheirChildren) {
    ResultNode root("Title", "");
    ResultNode& key = root.AddChild("[D]  HKLM\\Software");
    key.AddChild("value,1");
    ResultNode& sub = key.AddChild("{D} Sub [D] x");
    sub.AddChild("[D] Deeper");
    root.AddChild("Services [D] ");
    ResultNode& hidden = root.AddChild("hidden");
    hidden.AddChild("[D] Lifted");
    EXPECT_THAT(OutlineByLevels(ExpandableTreeTop(root), &ExpandableTreeLevel),
                ElementsAre(" HKLM\\Software[1]", "  Sub [D] x[1]", "    Deeper[1]", "Lifted[1]"));
}

TEST(ExpandableTreeLevel, SortingOfAnUnmarkedNodeSortsTheItemsLiftedSoFar) {
    ResultNode root("[D] Title", "");
    ResultNode& key = root.AddChild("[D] k");
    key.AddChild("value,1");
    ResultNode& hidden = key.AddChild("hidden");
    hidden.SetTitleAndDetail("hidden", "sort");
    hidden.AddChild("[D] z");
    hidden.AddChild("{D} b");
    key.AddChild("[D] a");
    EXPECT_THAT(OutlineByLevels(ExpandableTreeTop(root), &ExpandableTreeLevel),
                ElementsAre("Title[1]", "  k[1]", "    b[1]", "    z[1]", "    a[1]"));
}

TEST(ExpandableTreeLevel, DeepUnmarkedChainsAreWalkedWithoutRecursion) {
    ResultNode root("r", "");
    ResultNode* node = &root;
    for (int i = 0; i < 200000; ++i) node = &node->AddChild("n");
    node->AddChild("[D] leaf");
    EXPECT_THAT(OutlineByLevels(ExpandableTreeTop(root), &ExpandableTreeLevel), ElementsAre("leaf[1]"));
}

}  // namespace
}  // namespace kavlo
