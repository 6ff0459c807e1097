// Values beyond every buffer of the listings: data over 1 MiB, a name of
// thousands of characters. They are shown by name and the listing goes on.
#include <gtest/gtest.h>

#include "engine/testing/fake_machine.h"
#include "engine/testing/script_runner.h"

namespace kavlo {
namespace {

TEST(OversizedValues, ListingsNameThemAndGoOn) {
    testing::FakeMachine machine;
    const std::string longName = "L" + std::string(4999, 'n');
    const auto root = platform::RegRoot::LocalMachine;
    machine.SetString(root, "Software\\Big", "Alpha", "a");
    machine.SetString(root, "Software\\Big", "Bulk", std::string((1 << 20) + 1, 'b'));
    machine.SetString(root, "Software\\Big", longName, "l");
    machine.SetString(root, "Software\\Big", "Omega", "o");
    AppContext context(machine, OsInfo{"NT5.0", "", 50, true}, "C:\\");
    const std::string more = machine.ErrorText(err::kMoreData);

    testing::ScriptRunner listing(context);
    EXPECT_EQ(listing.RunBody("text", "CENUMRVAL:HKLM\\Software\\Big").text,
              "Alpha,a\nBulk," + more + "\n" + longName + "," + more + "\nOmega,o\n");

    testing::ScriptRunner tree(context);
    const auto& title = tree.RunBody("treexp", "TERegList:HKLM\\Software\\Big");
    ASSERT_EQ(title.Root().children().size(), 1u);
    std::vector<std::string> values;
    for (const auto& child : title.Root().children()[0]->children()) values.push_back(child->title());
    // The lister reads names up to 400 characters and data up to 400 bytes.
    EXPECT_EQ(values, (std::vector<std::string>{"Alpha,a", "Bulk," + more, longName + "," + more, "Omega,o"}));
}

}  // namespace
}  // namespace kavlo
