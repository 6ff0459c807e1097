// The catalog of the bundled scripts: headers, titles per system, and the
// product checks of DBGList.cfg.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "probes/registration.h"
#include "engine/script_catalog.h"
#include "engine/testing/fake_machine.h"
#include "scripts/tests/bundled.h"

namespace kavlo::scripts_test {
namespace {

using platform::RegRoot;
using ::testing::ElementsAreArray;

OsInfo Os(const char* shortName, int code, bool nt) { return {shortName, shortName, code, nt}; }

// Every bundled script has its version headers, and each title it lists has a
// body with a kind line. (Which titles a system lists is the catalog's own
// concern; the script checker makes sure that every listed title has a body.)
TEST(BundledCatalog, HeadersAndTitleBodies) {
    testing::FakeMachine machine;
    AppContext context(machine, Os("NT5.0", 50, true), ScriptsDir());
    ScriptCatalog catalog(context, StandardCommandTable());
    const std::regex fourDigits("[0-9]{4}");
    const std::regex date("(0[1-9]|1[0-2])/(0[1-9]|[12][0-9]|3[01])/(19|20)[0-9]{2}");
    for (const std::string& name : BundledScriptNames()) {
        SCOPED_TRACE(name);
        const auto file = catalog.LoadScript(ScriptsDir() + "/" + name, name.substr(0, name.size() - 4));
        ASSERT_TRUE(file);
        // The script information page shows the first and last two digits: 0106 is 1.6.
        EXPECT_EQ(file->engine, "0106");
        EXPECT_TRUE(std::regex_match(file->version, fourDigits)) << file->version;
        EXPECT_TRUE(std::regex_match(file->date, date)) << file->date;
        EXPECT_FALSE(file->titles.empty());
        for (const auto& title : file->titles) {
            EXPECT_TRUE(title->hasBody) << title->name;
            EXPECT_FALSE(title->kind.empty()) << title->name;
        }
    }
}

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
    AppContext context(machine, Os("NT5.0", 50, true), ScriptsDir());
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
