// Where a save may write: a regular file is replaced whole, a link is followed,
// a device or FIFO is written in place (the same stream path: the device case
// stands for both), and everything else is refused with a reason.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

#include "report/report_file.h"
#include "report/tests/archive_bytes.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::report {
namespace {

namespace fs = std::filesystem;
using kavlo::testing::ReadAll;
using kavlo::testing::TempFolder;
using kavlo::testing::WriteAll;
using testing::SampleReport;
using testing::Write;

#ifndef _WIN32

TEST(OutputTarget, SymbolicLinkIsFollowedToTheReportItNames) {
    TempFolder dir;
    fs::create_directories(dir.root() / "reports");
    WriteAll(dir.File("reports/real.IFO"), "old report");
    fs::create_symlink("reports/real.IFO", dir.root() / "link.IFO");
    const FileOutcome outcome = SaveReportFile(dir.File("link.IFO"), SampleReport());
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_TRUE(fs::is_symlink(dir.root() / "link.IFO"));
    EXPECT_EQ(ReadAll(dir.File("reports/real.IFO")), Write(SampleReport()));
    EXPECT_EQ(fs::canonical(outcome.path), fs::canonical(dir.File("reports/real.IFO")));
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"link.IFO", "reports"}));
}

/// A node of the null device in the test's folder (creating one needs root).
bool MakeNullDevice(const std::string& path) { return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; }

TEST(OutputTarget, CharacterDeviceIsWrittenInPlaceAndNeverCompressed) {
    if (::geteuid() != 0) GTEST_SKIP() << "creating a device node needs root";
    TempFolder dir;
    const std::string device = dir.File("null");
    ASSERT_TRUE(MakeNullDevice(device));
    const FileOutcome saved = SaveReportFile(device, SampleReport());
    ASSERT_TRUE(saved.ok) << saved.message;
    // Compressing would remove the file it compressed.
    const FileOutcome compressed = CompressSavedReport(device);
    EXPECT_FALSE(compressed.ok);
    EXPECT_EQ(compressed.reason, "'" + device + "' is not a regular file");
    EXPECT_TRUE(fs::is_character_file(device));
    EXPECT_EQ(dir.Names(), std::set<std::string>{"null"});
}

#endif

TEST(OutputTarget, ReadOnlyTargetsAreRefusedPlainAndCompressed) {
    TempFolder dir;
    WriteAll(dir.File("x.IFO"), "old report");
    WriteAll(dir.File("y.IFO"), "new report");
    WriteAll(dir.File("y.IFO.gz"), "old gzip");
    for (const char* name : {"x.IFO", "y.IFO.gz"}) fs::permissions(dir.File(name), fs::perms::owner_read);

    const FileOutcome plain = SaveReportFile(dir.File("x.IFO"), SampleReport());
    const FileOutcome compressed = CompressSavedReport(dir.File("y.IFO"));
    for (const auto& [outcome, path] : {std::pair{plain, dir.File("x.IFO")}, {compressed, dir.File("y.IFO.gz")}}) {
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.message, "Unable to write to " + path + ", it is read-only or opened by someone else.");
    }
    EXPECT_EQ(ReadAll(dir.File("x.IFO")), "old report");
    EXPECT_EQ(ReadAll(dir.File("y.IFO.gz")), "old gzip");
    EXPECT_EQ(ReadAll(dir.File("y.IFO")), "new report");
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"x.IFO", "y.IFO", "y.IFO.gz"}));
}

TEST(OutputTarget, FailuresSayWhatIsWrong) {
    TempFolder dir;
    fs::create_directories(dir.root() / "folder");
    const std::string longest(255, 'n');
    struct Case {
        std::string target;
        std::string reason;
    };
    // (A missing folder is in the command-line tests.)
    std::vector<Case> cases = {
        {dir.File("folder"), "'" + dir.File("folder") + "' is a folder"},
    };
#ifndef _WIN32
    // Windows paths end at 260 characters before a name reaches 255.
    cases.push_back({dir.File(longest + "x"), "the file name is too long"});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const FileOutcome outcome = SaveReportFile(c.target, SampleReport());
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.message, "Failed to save document.");
        EXPECT_EQ(outcome.reason, c.reason);
    }
#ifndef _WIN32
    // A name that fits leaves no room for the temporary's suffix; the save still works.
    EXPECT_TRUE(SaveReportFile(dir.File(longest), SampleReport()).ok);
    EXPECT_EQ(dir.Names(), (std::set<std::string>{"folder", longest}));
#endif

    ReportContents back;
    const FileOutcome opened = OpenReportFile(dir.File("folder"), back);
    EXPECT_EQ(opened.message, "Failed to open document.");
    EXPECT_EQ(opened.reason, "'" + dir.File("folder") + "' is a folder");
}

}  // namespace
}  // namespace kavlo::report
