// The key listings on registries beyond what Windows allows: deeper than 512
// levels, values over every buffer (data over 1 MiB, a name of thousands of
// characters). Those are shown by name and the listing goes on.
#include <gtest/gtest.h>

#include "engine/testing/script_rig.h"

namespace kavlo {
namespace {

TEST(TERegListDepth, StopsDescendingAt512Levels) {
    testing::ScriptRig rig;
    std::string path = "Software\\Deep";
    for (int i = 0; i < 700; ++i) path += "\\k";
    rig.machine.SetDword(platform::RegRoot::LocalMachine, path, "v", 1);
    const ResultNode* node = &rig.RunTree("TERegList:HKLM\\Software\\Deep").Root();
    std::size_t depth = 0;
    for (; !node->children().empty(); ++depth) node = node->children()[0].get();
    EXPECT_EQ(depth, 512u);
    EXPECT_EQ(node->title(), "[D]  k");
}

TEST(OversizedValues, ListingsNameThemAndGoOn) {
    testing::ScriptRig rig;
    const std::string longName = "L" + std::string(4999, 'n');
    const auto root = platform::RegRoot::LocalMachine;
    rig.machine.SetString(root, "Software\\Big", "Alpha", "a");
    rig.machine.SetString(root, "Software\\Big", "Bulk", std::string((1 << 20) + 1, 'b'));
    rig.machine.SetString(root, "Software\\Big", longName, "l");
    rig.machine.SetString(root, "Software\\Big", "Omega", "o");
    const std::string more = rig.machine.ErrorText(err::kMoreData);
    EXPECT_EQ(rig.RunText("CENUMRVAL:HKLM\\Software\\Big").text,
              "Alpha,a\nBulk," + more + "\n" + longName + "," + more + "\nOmega,o\n");
    const auto& title = rig.RunTree("TERegList:HKLM\\Software\\Big", "treexp");
    ASSERT_EQ(title.Root().children().size(), 1u);
    // The lister reads names up to 400 characters and data up to 400 bytes.
    EXPECT_EQ(testing::ChildTitles(*title.Root().children()[0]),
              (std::vector<std::string>{"Alpha,a", "Bulk," + more, longName + "," + more, "Omega,o"}));
}

}  // namespace
}  // namespace kavlo
