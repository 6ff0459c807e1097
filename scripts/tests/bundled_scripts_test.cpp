// The bundled scripts end their lines as Windows does, use every command of the
// table, and leave the costly ones to the extended script. (They pass the
// script checker in the test "lint_bundled_scripts" of the command line.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "scripts/tests/bundled.h"
#include "engine/script_lint.h"

namespace kavlo::scripts_test {
namespace {

// The files ship to Windows as they are; Notepad of those systems shows a file
// with bare line feeds as one line.
TEST(BundledScripts, LinesEndWithCarriageReturnAndLineFeed) {
    std::vector<std::string> files = BundledScriptNames();
    files.push_back("DBGList.cfg");
    for (const std::string& file : files) {
        std::ifstream in(ScriptsDir() + "/" + file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty()) << file;
        std::size_t bare = 0;
        for (std::size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) ++bare;
        EXPECT_EQ(bare, 0u) << file;
        EXPECT_EQ(bytes.back(), '\n') << file << " ends without a line end";
    }
}

// Commands that take long or change the machine; support runs them by hand.
const std::set<std::string_view> kCostly = {
    "TDrvRightsList:", "StartService:", "MODEM_INFO:", "PCI_INFO:", "PCI_DISP:"};

TEST(BundledScripts, UseEveryCommandOfTheTableAndTheCostlyOnesOnlyInTheExtendedScript) {
    std::vector<std::string> files = BundledScriptNames();
    files.push_back("DBGList.cfg");
    const CommandTable table;
    std::set<std::string_view> used;
    for (const std::string& file : files) {
        // Title bodies of the scripts (title-list lines such as "[OS:NT4.0]Name" do
        // not count), every line of the configuration.
        bool inBodies = file == "DBGList.cfg";
        for (const std::string& line : ScriptLines(file)) {
            std::string_view t = line;
            while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
            if (t.substr(0, 7) == "[TITLE]") inBodies = true;
            if (!inBodies || t.substr(0, 2) == "//") continue;
            const CommandRow* row = CommandOfLine(t, table);
            if (!row) continue;
            used.insert(row->name);
            EXPECT_TRUE(file == "Extended.dbg" || !kCostly.count(row->name)) << file << ": " << row->name;
        }
    }
    std::string missing;
    for (const CommandRow& row : table.rows())
        if (!used.count(row.name)) missing += std::string(row.name) + " ";
    EXPECT_EQ(missing, "") << "commands of the table that no bundled script uses";
}

}  // namespace
}  // namespace kavlo::scripts_test
