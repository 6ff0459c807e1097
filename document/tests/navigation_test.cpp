// The navigation model: building, keys, re-pairing after an open, the root label.
#include <gtest/gtest.h>

#include "document/navigation.h"

namespace kavlo::report {
namespace {

std::vector<std::string> Outline(const NavNode& node, int depth = 0) {
    std::vector<std::string> lines{std::string(depth * 2, ' ') + node.Text()};
    for (const auto& child : node.children())
        for (auto& line : Outline(*child, depth + 1)) lines.push_back(std::move(line));
    return lines;
}

TEST(Navigation, BuildsComputerScriptsAndTitlesInPlaceOfTheOldTree) {
    Catalog catalog;
    for (const auto& [name, titles] : {std::pair<const char*, std::vector<const char*>>{"System", {"OS", "Memory"}},
                                       {"Empty", {}},
                                       {"Net", {"Connections"}}}) {
        catalog.push_back(std::make_unique<ScriptRecord>(std::string("C:\\K\\") + name + ".dbg", name));
        for (const char* title : titles) catalog.back()->AddTitle(title);
    }
    NavNode model;
    NodeKeys keys;
    BuildNavigation(model, "OLD", catalog, keys);
    BuildNavigation(model, "OFFICE7  [local computer]", catalog, keys);  // replaces the old tree
    EXPECT_EQ(Outline(model), (std::vector<std::string>{"OFFICE7  [local computer]", "  System", "    OS", "    Memory",
                                                        "  Empty", "  Net", "    Connections"}));
    // Records and nodes pair by key in the outline of "kavlo gather" (cli/tests/expected/gather.txt);
    // the root's key and unknown ones find no record.
    EXPECT_NE(model.key(), NavNode::kRootMarker);
    for (std::uint32_t other : {model.key(), 0u, 999u}) EXPECT_EQ(FindByKey(catalog, other).file, nullptr) << other;
    const TitleRecord& connections = *catalog[2]->titles[0];
    EXPECT_EQ(FindByKey(catalog, connections.treeKey).title, &connections);
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
    // fresh keys: small, distinct, none of the old handles
    EXPECT_LT(model.key(), 100u);
    EXPECT_EQ(model.Find(0x00C100A0), nullptr);
}

TEST(Navigation, OpenedRootLabel) {
    for (const auto& [stored, shown] : {std::pair{"PC1  [local computer]", "PC1  [file]"},
                                        {"PC1  [file]", "PC1  [file]"},
                                        {"NOBRACKET", "[file]"},
                                        {"[x] y [z]", "[file]"}})
        EXPECT_EQ(OpenedRootLabel(stored), shown) << stored;
}

}  // namespace
}  // namespace kavlo::report
