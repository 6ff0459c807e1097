// The bundled scripts keep the house rules and use every command of the table.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "scripts/tests/bundled.h"
#include "engine/script_lint.h"

namespace kavlo::scripts_test {
namespace {

using ::testing::HasSubstr;

TEST(BundledScripts, KeepTheHouseRules) {
    const std::vector<std::string> names = BundledScriptNames();
    ASSERT_GE(names.size(), 9u);
    std::vector<LintProblem> problems;
    for (const std::string& name : names) {
        const auto found = LintScript(name, ScriptLines(name), CommandTable());
        problems.insert(problems.end(), found.begin(), found.end());
    }
    const auto found = LintConfiguration("DBGList.cfg", ScriptLines("DBGList.cfg"), CommandTable());
    problems.insert(problems.end(), found.begin(), found.end());
    EXPECT_TRUE(problems.empty()) << Describe(problems);
}

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

TEST(BundledScripts, UseEveryCommandOfTheTable) {
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
            if (const CommandRow* row = CommandOfLine(t, table)) used.insert(row->name);
        }
    }
    std::string missing;
    for (const CommandRow& row : table.rows())
        if (!used.count(row.name)) missing += std::string(row.name) + " ";
    EXPECT_EQ(missing, "") << "commands of the table that no bundled script uses";
}

}  // namespace
}  // namespace kavlo::scripts_test
