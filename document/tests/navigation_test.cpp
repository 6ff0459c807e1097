// The navigation model: building, keys, re-pairing after an open, the root label.
#include <gtest/gtest.h>

#include <set>

#include "document/navigation.h"
#include "report/tests/archive_bytes.h"

namespace kavlo::report {
namespace {

Catalog TwoScripts() {
    Catalog catalog;
    auto a = std::make_unique<ScriptRecord>("C:\\K\\System.dbg", "System");
    a->AddTitle("OS");
    a->AddTitle("Memory");
    auto b = std::make_unique<ScriptRecord>("C:\\K\\Empty.dbg", "Empty");
    auto c = std::make_unique<ScriptRecord>("C:\\K\\Net.dbg", "Net");
    c->AddTitle("Connections");
    catalog.push_back(std::move(a));
    catalog.push_back(std::move(b));
    catalog.push_back(std::move(c));
    return catalog;
}

std::vector<std::string> Outline(const NavNode& node, int depth = 0) {
    std::vector<std::string> lines{std::string(depth * 2, ' ') + node.Text()};
    for (const auto& child : node.children())
        for (auto& line : Outline(*child, depth + 1)) lines.push_back(std::move(line));
    return lines;
}

TEST(Navigation, BuildsComputerScriptsAndTitlesInCatalogOrder) {
    Catalog catalog = TwoScripts();
    NavNode model;
    NodeKeys keys;
    BuildNavigation(model, "OFFICE7  [local computer]", catalog, keys);
    EXPECT_EQ(Outline(model), (std::vector<std::string>{"OFFICE7  [local computer]", "  System", "    OS", "    Memory",
                                                        "  Empty", "  Net", "    Connections"}));
    // every record pairs with the node of its own name
    for (const auto& file : catalog) {
        ASSERT_NE(model.Find(file->treeKey), nullptr);
        EXPECT_EQ(model.Find(file->treeKey)->Text(), file->fileName);
        for (const auto& title : file->titles) EXPECT_EQ(model.Find(title->treeKey)->Text(), title->name);
    }
}

TEST(Navigation, KeysAreUniqueAndNeverReserved) {
    Catalog catalog = TwoScripts();
    NavNode model;
    NodeKeys keys;
    BuildNavigation(model, "PC", catalog, keys);
    std::set<std::uint32_t> seen;
    std::vector<const NavNode*> stack{&model};
    while (!stack.empty()) {
        const NavNode* node = stack.back();
        stack.pop_back();
        EXPECT_NE(node->key(), 0u);
        EXPECT_NE(node->key(), NavNode::kRootMarker);
        EXPECT_TRUE(seen.insert(node->key()).second) << node->Text();
        for (const auto& child : node->children()) stack.push_back(child.get());
    }
    EXPECT_EQ(seen.size(), 7u);
}

TEST(Navigation, RebuildingReplacesTheOldTree) {
    Catalog catalog = TwoScripts();
    NavNode model;
    NodeKeys keys;
    BuildNavigation(model, "PC", catalog, keys);
    catalog.pop_back();
    BuildNavigation(model, "PC2", catalog, keys);
    EXPECT_EQ(Outline(model).size(), 5u);
    EXPECT_EQ(model.Text(), "PC2");
}

TEST(Navigation, FindByKeyTellsScriptsFromTitles) {
    Catalog catalog = TwoScripts();
    NavNode model;
    NodeKeys keys;
    BuildNavigation(model, "PC", catalog, keys);
    const KeyTarget script = FindByKey(catalog, catalog[1]->treeKey);
    EXPECT_EQ(script.file, catalog[1].get());
    EXPECT_EQ(script.title, nullptr);
    const KeyTarget title = FindByKey(catalog, catalog[2]->titles[0]->treeKey);
    EXPECT_EQ(title.file, catalog[2].get());
    EXPECT_EQ(title.title, catalog[2]->titles[0].get());
    EXPECT_EQ(FindByKey(catalog, model.key()).file, nullptr) << "the root is not in the catalog";
    EXPECT_EQ(FindByKey(catalog, 0).file, nullptr);
    EXPECT_EQ(FindByKey(catalog, 999).file, nullptr);
    EXPECT_EQ(CountTitles(catalog), 3u);
}

TEST(Navigation, ReopenedRecordsPairWithFreshKeysByTheirOldKeys) {
    // Keys as an old program stored them: truncated window handles, in no order.
    NavNode model(0x00C10040, "PC1  [local computer]");
    model.Add(0x00C10040, 0x00C100A0, "System");
    model.Add(0x00C100A0, 0x00C10010, "OS");
    model.Add(0x00C100A0, 0x00C10090, "Memory");
    Catalog catalog;
    auto file = std::make_unique<ScriptRecord>("p", "System");
    file->treeKey = 0x00C100A0;
    file->AddTitle("Memory").treeKey = 0x00C10090;  // listed in another order than the tree
    file->AddTitle("OS").treeKey = 0x00C10010;
    file->AddTitle("Orphan").treeKey = 0x12345678;  // no node has it
    catalog.push_back(std::move(file));

    NodeKeys keys;
    RekeyAfterOpen(model, catalog, keys);
    const ScriptRecord& f = *catalog[0];
    EXPECT_EQ(model.Find(f.treeKey)->Text(), "System");
    EXPECT_EQ(model.Find(f.titles[0]->treeKey)->Text(), "Memory");
    EXPECT_EQ(model.Find(f.titles[1]->treeKey)->Text(), "OS");
    EXPECT_EQ(f.titles[2]->treeKey, 0u);
    EXPECT_EQ(FindByKey(catalog, f.titles[1]->treeKey).title, f.titles[1].get());
    // fresh keys: small, distinct, none of the old handles
    EXPECT_LT(model.key(), 100u);
    EXPECT_EQ(model.Find(0x00C100A0), nullptr);
}

TEST(Navigation, OpenedRootLabel) {
    EXPECT_EQ(OpenedRootLabel("PC1  [local computer]"), "PC1  [file]");
    EXPECT_EQ(OpenedRootLabel("PC1  [file]"), "PC1  [file]");
    EXPECT_EQ(OpenedRootLabel("NOBRACKET"), "[file]");
    EXPECT_EQ(OpenedRootLabel(""), "[file]");
    EXPECT_EQ(OpenedRootLabel("[x] y [z]"), "[file]");
}

}  // namespace
}  // namespace kavlo::report
