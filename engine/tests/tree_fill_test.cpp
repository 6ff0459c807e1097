#include "engine/tree_fill.h"

#include <algorithm>
#include <map>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kavlo {
namespace {

using ::testing::ElementsAre;

// Records inserts; an outline of "text[state]" per item, indented by level.
class RecordingSink : public TreeSink {
public:
    std::uint32_t InsertItem(std::uint32_t parent, std::string_view text, int stateImage) override {
        const std::uint32_t key = static_cast<std::uint32_t>(items_.size() + 1);
        items_.push_back({std::string(text), stateImage});
        children_[parent].push_back(key);
        return key;
    }
    void SortChildren(std::uint32_t parent) override {
        auto& list = children_[parent];
        std::stable_sort(list.begin(), list.end(),
                         [&](std::uint32_t a, std::uint32_t b) { return items_[a - 1].text < items_[b - 1].text; });
    }
    std::vector<std::string> Outline(std::uint32_t parent = 0, int level = 0) {
        std::vector<std::string> lines;
        for (std::uint32_t key : children_[parent]) {
            const Item& item = items_[key - 1];
            lines.push_back(std::string(static_cast<std::size_t>(level) * 2, ' ') + item.text + "[" +
                            std::to_string(item.state) + "]");
            auto sub = Outline(key, level + 1);
            lines.insert(lines.end(), sub.begin(), sub.end());
        }
        return lines;
    }

private:
    struct Item {
        std::string text;
        int state;
    };
    std::vector<Item> items_;
    std::map<std::uint32_t, std::vector<std::uint32_t>> children_;
};

TEST(TreeItemOf, StateFieldGivesTheImage) {
    EXPECT_EQ(TreeItemOf("||01 Enable logging").text, " Enable logging");
    EXPECT_EQ(TreeItemOf("||01 Enable logging").stateImage, 1);
    EXPECT_EQ(TreeItemOf("|2| Enabled").text, "Enabled");  // the field is four characters, the blank included
    EXPECT_EQ(TreeItemOf("|2| Enabled").stateImage, 2);
    EXPECT_EQ(TreeItemOf("||1").text, "");
    EXPECT_EQ(TreeItemOf("||1").stateImage, 1);
    EXPECT_EQ(TreeItemOf("plain").stateImage, 0);
    EXPECT_EQ(TreeItemOf("a|12").text, "a|12");
}

TEST(FillTree, InsertsEveryNodeDepthFirstWithStates) {
    ResultNode root("Root", "");
    ResultNode& a = root.AddChild("||00 A");
    a.AddChild("a1");
    root.AddChild("||03 B");
    RecordingSink sink;
    FillTree(root, sink, 0);
    EXPECT_THAT(sink.Outline(), ElementsAre("Root[0]", "   A[0]", "    a1[0]", "   B[3]"));
}

TEST(FillTree, SortDetailSortsTheNodesLevel) {
    ResultNode root("Root", "sort");
    root.AddChild("b");
    root.AddChild("a");
    root.AddChild("c");
    RecordingSink sink;
    FillTree(root, sink, 0);
    EXPECT_THAT(sink.Outline(), ElementsAre("Root[0]", "  a[0]", "  b[0]", "  c[0]"));
}

TEST(FillExpandableTree, OnlyMarkedNodesAppearAndUnmarkedOnesLiftTheirChildren) {
    ResultNode root("Title", "");
    ResultNode& key = root.AddChild("[D]  HKLM\\Software");
    key.AddChild("value,1");
    ResultNode& sub = key.AddChild("{D} Sub [D] x");
    sub.AddChild("[D] Deeper");
    root.AddChild("Services [D] ");
    ResultNode& hidden = root.AddChild("hidden");
    hidden.AddChild("[D] Lifted");
    RecordingSink sink;
    FillExpandableTree(root, sink, 0);
    EXPECT_THAT(sink.Outline(), ElementsAre(" HKLM\\Software[1]", "  Sub [D] x[1]", "    Deeper[1]", "Lifted[1]"));
}

TEST(FillExpandableTree, DeepTreesAreWalkedWithoutRecursion) {
    ResultNode root("[D] r", "");
    ResultNode* node = &root;
    for (int i = 0; i < 200000; ++i) node = &node->AddChild("[D] n");
    struct CountingSink : TreeSink {
        std::uint32_t InsertItem(std::uint32_t, std::string_view, int) override { return ++count; }
        void SortChildren(std::uint32_t) override {}
        std::uint32_t count = 0;
    } sink;
    FillExpandableTree(root, sink, 0);
    EXPECT_EQ(sink.count, 200001u);
}

// The levels that lazy views insert one at a time give the full fills' tree.
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

TEST(TreeLevel, LevelsGiveTheFullFillsTreeWithItsSorting) {
    ResultNode root("Title", "");
    ResultNode& b = root.AddChild("b");
    b.AddChild("|01|z");
    b.AddChild("y");
    root.AddChild("a");
    ResultNode& sorted = root.AddChild("c");
    sorted.SetTitleAndDetail("c", "sort");
    root.AddChild("0 after the sort");
    RecordingSink sink;
    for (const auto& child : root.children()) FillTree(*child, sink, 0);
    EXPECT_EQ(OutlineByLevels(TreeLevel(root), &TreeLevel), sink.Outline());
    EXPECT_THAT(OutlineByLevels(TreeLevel(root), &TreeLevel),
                ElementsAre("a[0]", "b[0]", "  z[1]", "  y[0]", "c[0]", "0 after the sort[0]"));
}

TEST(TreeLevel, ExpandableLevelsLiftThroughUnmarkedNodesAsTheFillDoes) {
    ResultNode root("Title", "");
    ResultNode& key = root.AddChild("[D] k");
    key.AddChild("value,1");
    ResultNode& hidden = key.AddChild("hidden");
    hidden.SetTitleAndDetail("hidden", "sort");
    hidden.AddChild("[D] z");
    hidden.AddChild("{D} b");
    key.AddChild("[D] a");
    RecordingSink sink;
    FillExpandableTree(root, sink, 0);
    EXPECT_EQ(OutlineByLevels(ExpandableTreeTop(root), &ExpandableTreeLevel), sink.Outline());
    EXPECT_THAT(sink.Outline(), ElementsAre("k[1]", "  b[1]", "  z[1]", "  a[1]"));
}

}  // namespace
}  // namespace kavlo
