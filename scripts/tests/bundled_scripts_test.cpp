// The bundled scripts end their lines as Windows does, hold their version
// headers, use every command of the table, and leave the costly ones to the
// extended script. (They pass the
// script checker in the test "lint_bundled_scripts" of the command line.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "scripts/tests/bundled.h"
#include "engine/script_lint.h"

namespace kavlo::scripts_test {
namespace {

// The files ship to Windows as they are; Notepad of those systems shows a file
// with bare line feeds as one line. The script information page shows the first
// and last two digits of the versions: 0106 is 1.6.
TEST(BundledScripts, LinesEndWithCarriageReturnAndLineFeedAndHeadersHoldVersionNumbers) {
    const std::regex headers[] = {
        std::regex("(^|\n)ENGINE:0106\r\n"), std::regex("(^|\n)VERSION:[0-9]{4}\r\n"),
        std::regex("(^|\n)DATE:(0[1-9]|1[0-2])/(0[1-9]|[12][0-9]|3[01])/(19|20)[0-9]{2}\r\n")};
    std::vector<std::string> files = BundledScriptNames();
    files.push_back("DBGList.cfg");
    for (const std::string& file : files) {
        std::ifstream in(ScriptsDir() + "/" + file, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(bytes.empty()) << file;
        EXPECT_FALSE(std::regex_search(bytes, std::regex("(^|[^\r])\n"))) << file << " has a bare line feed";
        EXPECT_EQ(bytes.back(), '\n') << file << " ends without a line end";
        if (file == "DBGList.cfg") continue;
        for (const std::regex& header : headers) EXPECT_TRUE(std::regex_search(bytes, header)) << file;
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
