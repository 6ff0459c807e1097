// The key-tree lister on a registry deeper than Windows allows.
#include <gtest/gtest.h>

#include "engine/testing/fake_machine.h"
#include "engine/testing/script_runner.h"

namespace kavlo {
namespace {

TEST(TERegListDepth, StopsDescendingAt512Levels) {
    testing::FakeMachine machine;
    std::string path = "Software\\Deep";
    for (int i = 0; i < 700; ++i) path += "\\k";
    machine.SetDword(platform::RegRoot::LocalMachine, path, "v", 1);
    AppContext context(machine, OsInfo{"NT5.0", "", 50, true}, "C:\\");
    testing::ScriptRunner runner(context);
    const auto& title = runner.RunBody("tree", "TERegList:HKLM\\Software\\Deep");
    std::size_t depth = 0;
    const ResultNode* node = &title.Root();
    while (!node->children().empty()) {
        node = node->children()[0].get();
        ++depth;
    }
    EXPECT_EQ(depth, 512u);
    EXPECT_EQ(node->title(), "[D]  k");
}

}  // namespace
}  // namespace kavlo
