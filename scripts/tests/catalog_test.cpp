// The product checks of the bundled DBGList.cfg: which scripts a new report
// catalogues on a machine with which products.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "probes/registration.h"
#include "engine/script_catalog.h"
#include "engine/testing/script_rig.h"
#include "scripts/tests/bundled.h"

namespace kavlo::scripts_test {
namespace {

using platform::RegRoot;
using ::testing::ElementsAreArray;

struct ProductCase {
    const char* name;
    bool ostrell, mirrolet, fernway;
    std::vector<std::string> expected;
};

class ConfigurationChecks : public ::testing::TestWithParam<ProductCase> {};

TEST_P(ConfigurationChecks, LoadProductScriptsOfInstalledProducts) {
    const ProductCase& c = GetParam();
    testing::FakeMachine machine;
    if (c.ostrell) machine.AddKey(RegRoot::LocalMachine, "Software\\Paxwell\\Corvel\\Vigilant6\\CurrentVersion");
    if (c.mirrolet) machine.AddKey(RegRoot::LocalMachine, "SOFTWARE\\Quorvane\\MIRROLET\\CurrentVersion");
    // Only the program folder value counts for the update product, not its key.
    machine.AddKey(RegRoot::LocalMachine, "SOFTWARE\\Quorvane\\Fernway");
    if (c.fernway)
        machine.SetString(RegRoot::LocalMachine, "SOFTWARE\\Quorvane\\Fernway", "InstallDir",
                          "C:\\Program Files\\Quorvane\\Fernway");
    AppContext context(machine, testing::Nt50(), ScriptsDir());
    const auto loadList =
        ScriptCatalog(context, StandardCommandTable()).ReadConfiguration(ScriptsDir() + "/DBGList.cfg");
    ASSERT_TRUE(loadList.has_value());
    EXPECT_THAT(*loadList, ElementsAreArray(c.expected));
    // Names are case-sensitive; every bundled script but Extended.dbg is named.
    const std::vector<std::string> files = BundledScriptNames();
    for (const std::string& name : *loadList)
        EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << name;
    EXPECT_TRUE(!(c.ostrell && c.mirrolet && c.fernway) || files.size() == loadList->size() + 1);
}

const std::vector<std::string> kRoutine = {"System.dbg", "Services.dbg", "Security.dbg", "Network.dbg", "Hardware.dbg"};

std::vector<std::string> With(std::vector<std::string> more) {
    std::vector<std::string> all = kRoutine;
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Products, ConfigurationChecks,
    ::testing::Values(ProductCase{"None", false, false, false, kRoutine},
                      ProductCase{"Antivirus", true, false, false, With({"Ostrell.dbg"})},
                      ProductCase{"RemoteControl", false, true, false, With({"Mirrolet.dbg"})},
                      ProductCase{"Update", false, false, true, With({"Fernway.dbg"})},
                      ProductCase{"AntivirusAndUpdate", true, false, true, With({"Ostrell.dbg", "Fernway.dbg"})},
                      ProductCase{"All", true, true, true, With({"Ostrell.dbg", "Mirrolet.dbg", "Fernway.dbg"})}),
    [](const ::testing::TestParamInfo<ProductCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kavlo::scripts_test
