// The memory, swap-file and drive rows of the computer the tests run on
// (Windows builds, run under Wine here). Figures change while the test runs,
// so totals are compared with the system's and the rest by shape.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "platform/win32/win32_machine.h"
#include "probes/files/file_texts.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo::probe_test {
namespace {

using ::testing::StartsWith;

class RealMemoryProbes : public ::testing::Test {
protected:
    // Rows of a drive list with the path, type, media and size columns.
    std::string Run(std::string_view line, OsInfo os = {"NT5.0", "Windows 2000 Professional", 50, true}) {
        return LineRunner(*machine, std::move(os)).Run("filelist", line, "FNAMEPATH,DRVTYPE,MEDIATYPE,FSIZE").text;
    }
    std::unique_ptr<platform::Machine> machine = platform::win32::MakeWin32Machine();
};

TEST_F(RealMemoryProbes, MemoryRowsShowTheSystemsTotals) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&status));
    const std::vector<std::string> rows = Lines(Run("CSystemMemory:1"));
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
    const std::vector<std::string> rows = Lines(Run("LocalHDSize:"));
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
}  // namespace kavlo::probe_test
