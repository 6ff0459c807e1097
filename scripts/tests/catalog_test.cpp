// The product checks of the bundled DBGList.cfg: which scripts a new report
// catalogues on a machine with one product or none. (The sample machine, with
// all three, is gathered against expected/office7.txt, which names every script
// loaded: the file names of the configuration are checked there.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "probes/registration.h"
#include "engine/script_catalog.h"
#include "engine/testing/script_rig.h"
#include "scripts/tests/bundled.h"

namespace kavlo::scripts_test {
namespace {

using platform::RegRoot;

struct ProductCase {
    const char* name;
    bool ostrell, mirrolet, fernway;
    const char* products;  ///< the scripts loaded after the five routine ones
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
    std::string loaded;
    for (const std::string& name : *loadList) loaded += name + " ";
    EXPECT_EQ(loaded, "System.dbg Services.dbg Security.dbg Network.dbg Hardware.dbg " + std::string(c.products));
}

INSTANTIATE_TEST_SUITE_P(Products, ConfigurationChecks,
                         ::testing::Values(ProductCase{"None", false, false, false, ""},
                                           ProductCase{"Antivirus", true, false, false, "Ostrell.dbg "},
                                           ProductCase{"RemoteControl", false, true, false, "Mirrolet.dbg "},
                                           ProductCase{"Update", false, false, true, "Fernway.dbg "}),
                         [](const ::testing::TestParamInfo<ProductCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace kavlo::scripts_test
