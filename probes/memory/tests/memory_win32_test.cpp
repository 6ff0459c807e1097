// The memory, swap-file and drive rows of the computer the tests run on
// (Windows builds, run under Wine here). Figures change while the test runs,
// so totals are compared with the system's and the rest by shape.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <regex>

#include "engine/script_engine.h"
#include "platform/win32/win32_machine.h"
#include "probes/files/file_texts.h"
#include "probes/registration.h"

namespace kavlo {
namespace {

using ::testing::StartsWith;

// gtest's own regular expressions on Windows know no groups or alternatives.
bool Matches(const std::string& text, const char* pattern) { return std::regex_match(text, std::regex(pattern)); }

std::vector<std::string> Rows(const std::string& text) {
    std::vector<std::string> rows;
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        rows.push_back(text.substr(start, end - start));
    return rows;
}

class RealMemoryProbes : public ::testing::Test {
protected:
    std::string Run(std::string_view line, OsInfo os = {"NT5.0", "Windows 2000 Professional", 50, true}) {
        AppContext context(*machine, std::move(os), "C:\\");
        TitleRecord title;
        title.kind = "filelist";
        title.header1 = "FNAMEPATH,DRVTYPE,MEDIATYPE,FSIZE";
        ScriptEngine engine(context, StandardCommandTable());
        ScriptFile file{std::string()};
        engine.Dispatch(file, line, &title);
        return title.text;
    }
    std::unique_ptr<platform::Machine> machine = platform::win32::MakeWin32Machine();
};

TEST_F(RealMemoryProbes, MemoryRowsShowTheSystemsTotals) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&status));
    const std::vector<std::string> rows = Rows(Run("CSystemMemory:1"));
    ASSERT_GE(rows.size(), 10u);
    EXPECT_THAT(rows[0], StartsWith("Total Memory," + SizeText(status.ullTotalVirtual) + ","));
    EXPECT_THAT(rows[1], StartsWith("Physical Memory," + SizeText(status.ullTotalPhys) + ","));
    EXPECT_THAT(rows[2], StartsWith("Paging Memory,"));
    for (std::size_t i = 0; i < 3; ++i) EXPECT_TRUE(Matches(rows[i], "[A-Za-z ]+(,[0-9.]+(K|MB|G)?){3}")) << rows[i];
    EXPECT_EQ(rows[3], "  ,  ,  ,  ");
    EXPECT_THAT(rows[4], StartsWith("RegistrySizeLimit,"));
    EXPECT_EQ(rows[9], "  ,  ,  ,  ");
}

TEST_F(RealMemoryProbes, OneRowForEachDrive) {
    char roots[256] = {};
    const DWORD length = ::GetLogicalDriveStringsA(sizeof roots, roots);
    std::vector<std::string> expected;
    for (const char* root = roots; root < roots + length && *root; root += std::strlen(root) + 1)
        expected.push_back(std::string("0,Drive,") + root + ",");
    const std::vector<std::string> rows = Rows(Run("LocalHDSize:"));
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_THAT(rows[i], StartsWith(expected[i]));
}

TEST_F(RealMemoryProbes, SwapFileRow) {
    const std::string row = Run("SwapFileSize:");
    EXPECT_TRUE(Matches(row, "0,Swap File,,,,[0-9.]+(K|MB|G)? avail\n")) << row;
    // The 9x query needs the "\\.\vwin32" device, which NT systems (and Wine) lack.
    EXPECT_EQ(Run("SwapFileSize:", {"Win98", "Windows 98", 98, false}), "0,Swap File,,,,0\n");
}

}  // namespace
}  // namespace kavlo
