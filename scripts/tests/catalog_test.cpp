// The catalog of the bundled scripts: headers, titles per system, the product
// checks of DBGList.cfg, and the catalog on the sample machine.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

#include "probes/registration.h"
#include "engine/script_catalog.h"
#include "engine/testing/fake_machine.h"
#include "platform/machine_factory.h"
#include "scripts/tests/bundled.h"

namespace kavlo::scripts_test {
namespace {

using platform::RegRoot;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

OsInfo Os(const char* shortName, int code, bool nt) { return {shortName, shortName, code, nt}; }

// The titles a script lists for a system, read straight from its text.
std::vector<std::string> ListedTitles(const std::string& script, const std::string& shortName) {
    std::vector<std::string> titles;
    bool inList = false;
    for (const std::string& line : ScriptLines(script)) {
        if (!inList) {
            inList = line.find("[TITLE LIST]") != std::string::npos;
            continue;
        }
        if (line.find('}') != std::string::npos) break;
        if (line.find("[OS:") == std::string::npos) titles.push_back(line);
        else if (line.find(shortName) != std::string::npos) titles.push_back(line.substr(line.find(']') + 1));
    }
    return titles;
}

std::vector<std::string> Names(const ScriptRecord& file) {
    std::vector<std::string> names;
    for (const auto& title : file.titles) names.push_back(title->name);
    return names;
}

TEST(BundledCatalog, HeadersReadAsVersionNumbers) {
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
    }
}

class TitlesPerSystem : public ::testing::TestWithParam<OsInfo> {};

TEST_P(TitlesPerSystem, EveryListedTitleHasItsBody) {
    testing::FakeMachine machine;
    AppContext context(machine, GetParam(), ScriptsDir());
    ScriptCatalog catalog(context, StandardCommandTable());
    for (const std::string& name : BundledScriptNames()) {
        SCOPED_TRACE(name);
        const auto file = catalog.LoadScript(ScriptsDir() + "/" + name, name.substr(0, name.size() - 4));
        ASSERT_TRUE(file);
        EXPECT_THAT(Names(*file), ElementsAreArray(ListedTitles(name, GetParam().shortName)));
        for (const auto& title : file->titles) {
            EXPECT_TRUE(title->hasBody) << title->name;
            EXPECT_GT(title->startOffset, 0u) << title->name;
            EXPECT_FALSE(title->kind.empty()) << title->name;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, TitlesPerSystem,
                         ::testing::Values(Os("Win95", 95, false), Os("Win98", 98, false), Os("NT4.0", 40, true),
                                           Os("NT5.0", 50, true), Os("NT5.1", 51, true), Os("NT", 100, true)),
                         [](const ::testing::TestParamInfo<OsInfo>& info) {
                             std::string name = info.param.shortName;
                             for (char& c : name)
                                 if (c == '.') c = '_';
                             return name;
                         });

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

TEST(BundledCatalog, ConfigurationNamesExistingScriptsButNotTheExtendedOne) {
    const std::vector<std::string> files = BundledScriptNames();
    const std::vector<std::string> all = With({"Ostrell.dbg", "Mirrolet.dbg", "Fernway.dbg"});
    for (const std::string& name : all)
        EXPECT_NE(std::find(files.begin(), files.end(), name), files.end()) << name << " (names are case-sensitive)";
    EXPECT_NE(std::find(files.begin(), files.end(), "Extended.dbg"), files.end());
    EXPECT_EQ(files.size(), all.size() + 1) << "every bundled script but Extended.dbg is in DBGList.cfg";
}

TEST(BundledCatalog, CostlyCommandsOnlyInTheExtendedScript) {
    const std::vector<std::string> costly = {
        "TDrvRightsList:", "StartService:", "MODEM_INFO:", "PCI_INFO:", "PCI_DISP:"};
    for (const std::string& name : BundledScriptNames()) {
        for (const std::string& line : ScriptLines(name)) {
            const std::size_t start = line.find_first_not_of(" \t");
            if (start == std::string::npos) continue;
            for (const std::string& command : costly) {
                if (line.compare(start, command.size(), command) != 0) continue;
                EXPECT_EQ(name, "Extended.dbg") << command;
            }
        }
    }
}

TEST(SampleMachineCatalog, LoadsEveryScriptAndTitleTheConfigurationSelects) {
    platform::MachineChoice choice = platform::OpenMachine(SampleMachineDir());
    ASSERT_TRUE(choice.machine) << choice.error;
    const Catalog catalog = CatalogOn(std::move(choice.machine));
    EXPECT_EQ(catalog.context->os.shortName, "NT5.0");
    std::vector<std::string> loaded;
    for (const auto& file : catalog.files) loaded.push_back(file->fileName);
    // Name order, without regard to case; the three products are installed there.
    EXPECT_THAT(loaded,
                ElementsAre("Fernway", "Hardware", "Mirrolet", "Network", "Ostrell", "Security", "Services", "System"));
    for (const auto& file : catalog.files) {
        SCOPED_TRACE(file->fileName);
        EXPECT_THAT(Names(*file), ElementsAreArray(ListedTitles(file->fileName + ".dbg", "NT5.0")));
        for (const auto& title : file->titles) {
            EXPECT_TRUE(title->hasBody) << title->name;
            EXPECT_EQ(title->runPending, 1) << title->name;
        }
    }
    EXPECT_GE(catalog.TitleCount(), 70u);
}

}  // namespace
}  // namespace kavlo::scripts_test
