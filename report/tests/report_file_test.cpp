// Reports on disk: atomic saves, opening plain and compressed files, gzip in-process.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "platform/testing/temp_folder.h"
#include "report/report_file.h"
#include "report/report_messages.h"
#include "report/tests/archive_bytes.h"

namespace kavlo::report {
namespace {

using kavlo::testing::ReadAll;
using kavlo::testing::TempFolder;
using kavlo::testing::WriteAll;
using testing::SampleReport;
using testing::Write;

/// gzip bytes of `content` as one member, at a level "1" to "9".
std::string Gzip(const std::string& content, const char* level = "6") {
    TempFolder dir;
    gzFile gz = gzopen(dir.File("x.gz").c_str(), (std::string("wb") + level).c_str());
    EXPECT_EQ(gzwrite(gz, content.data(), static_cast<unsigned>(content.size())), static_cast<int>(content.size()));
    EXPECT_EQ(gzclose(gz), Z_OK);
    return ReadAll(dir.File("x.gz"));
}

/// The report read from `path`, written again as archive bytes ("" when it does not open).
std::string Reopened(const std::string& path) {
    ReportContents back;
    const FileOutcome outcome = OpenReportFile(path, back);
    EXPECT_TRUE(outcome.ok) << outcome.message;
    return outcome.ok ? Write(back) : "";
}

// ------------------------------------------------------------ saving

TEST(SaveReport, UnwritableReportLeavesTheOldFileAndNoTemporary) {
    TempFolder dir;
    const std::string path = dir.File("r.IFO");
    WriteAll(path, "old contents");
    ReportContents report = SampleReport();
    report.catalog[0]->titles[0]->text = std::string(1 << 20, 'x');  // the write is well under way...
    ResultNode* node = &report.catalog[0]->titles[2]->root;
    for (std::size_t i = 0; i < kMaxNesting; ++i) node = &node->AddChild("deep");  // ...when it fails
    const FileOutcome outcome = SaveReportFile(path, report);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Failed to save document.");
    EXPECT_EQ(ReadAll(path), "old contents");
    EXPECT_EQ(dir.Names(), std::set<std::string>{"r.IFO"});
}

TEST(SaveReport, FailureMessagesByCause) {
    const std::string readOnly = "Unable to write to C:\\r.IFO, it is read-only or opened by someone else.";
    for (const auto& [error, message] : {std::pair{ENOSPC, "Destination disk drive is full."},
                                         {EACCES, readOnly.c_str()},
                                         {EROFS, readOnly.c_str()},
                                         {EIO, "Failed to save document."}})
        EXPECT_EQ(SaveFailureMessage(error, "C:\\r.IFO"), message) << error;

    std::FILE* full = std::fopen("/dev/full", "wb");
    if (!full) GTEST_SKIP() << "no /dev/full here";
    FileSink sink(full);
    const std::string block(1 << 20, 'x');  // larger than the C buffer: reaches the device at once
    const bool written = sink.Write(block.data(), block.size());
    std::fclose(full);
    EXPECT_FALSE(written);
    EXPECT_EQ(sink.error(), ENOSPC);
    EXPECT_FALSE(sink.Write("y", 1)) << "a failed sink stays failed";
}

// ------------------------------------------------------------ opening

TEST(OpenReport, Failures) {
    TempFolder dir;
    const std::string good = Gzip(Write(SampleReport()));
    std::string badCrc = good;
    badCrc[badCrc.size() - 6] ^= 0x55;
    // (A missing file and one of plain text whatever its name are in the command-line tests.)
    const std::pair<const char*, std::string> files[] = {
        {"garbage.IFO", "\x32\x01\x00\x00 this is not a report"},
        {"empty.IFO", ""},
        {"bad.gz", std::string("\x1F\x8B", 2) + "broken"},
        {"truncated.gz", good.substr(0, good.size() - 5)},
        {"crc.gz", badCrc},
        {"garbage-after.gz", good + "trailing"},
        {"wrong-content.gz", Gzip("this is not a report")},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        const std::string path = dir.File(name);
        WriteAll(path, bytes);
        ReportContents kept;
        kept.navigation.SetText("kept");
        const FileOutcome outcome = OpenReportFile(path, kept);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.message, "Unexpected file format.");
        EXPECT_EQ(kept.navigation.Text(), "kept");
    }
}

TEST(OpenReport, ReadOnlyGzipOfSeveralMembersNamedLikeAPlainReportIsReadAndLeftAsItWas) {
    TempFolder dir;
    const std::string path = dir.File("x.IFO");
    const std::string bytes = Write(SampleReport());
    const std::size_t half = bytes.size() / 2;
    const std::string compressed = Gzip(bytes.substr(0, half)) + Gzip(bytes.substr(half)) + std::string(512, '\0');
    WriteAll(path, compressed);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    const auto before = std::filesystem::last_write_time(path);
    EXPECT_EQ(Reopened(path), bytes);
    EXPECT_EQ(ReadAll(path), compressed);
    EXPECT_EQ(std::filesystem::last_write_time(path), before);
    EXPECT_EQ(dir.Names(), std::set<std::string>{"x.IFO"});
}

TEST(OpenReport, GzipBombIsRefusedBeforeItIsHeld) {
    TempFolder dir;
    // 64 MiB of zeros in a member of about 64 KiB; with a limit of 16 MiB the
    // first pass stops early and nothing of it is kept.
    WriteAll(dir.File("bomb.gz"), Gzip(std::string(64 << 20, '\0'), "9"));
    ReportContents back;
    OpenOptions options;
    options.maxArchiveBytes = 16 << 20;
    const FileOutcome outcome = OpenReportFile(dir.File("bomb.gz"), back, options);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Unexpected file format.");
}

// ------------------------------------------------------------ compressing

// The save replaces a longer file whole (the reader refuses trailing bytes)
// and leaves no temporary file; compressing then replaces the report.
TEST(CompressReport, ReplacesTheSavedReportByItsGzipFile) {
    TempFolder dir;
    const std::string path = dir.File("OFFICE7.IFO");
    ReportContents report = SampleReport();
    for (int i = 0; i < 200000; ++i) report.catalog[0]->titles[0]->text += "line " + std::to_string(i * 7919) + "\n";
    WriteAll(path, std::string(4 << 20, 'o'));
    ASSERT_TRUE(SaveReportFile(path, report).ok);
    ASSERT_EQ(dir.Names(), std::set<std::string>{"OFFICE7.IFO"});
    std::string gzPath;
    const FileOutcome outcome = CompressSavedReport(path, &gzPath);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(gzPath, path + ".gz");
    EXPECT_EQ(dir.Names(), std::set<std::string>{"OFFICE7.IFO.gz"});
    EXPECT_EQ(Reopened(gzPath), Write(report));
    // gzip header: magic, deflate, FNAME flag, then the original name after the 10 fixed bytes
    const std::string gz = ReadAll(gzPath);
    ASSERT_GT(gz.size(), 22u);
    EXPECT_EQ(gz.substr(0, 3), "\x1F\x8B\x08");
    EXPECT_EQ(gz[3] & 0x08, 0x08);
    EXPECT_EQ(gz.substr(10, 12), std::string("OFFICE7.IFO\0", 12));

    EXPECT_FALSE(CompressSavedReport(dir.File("none.IFO")).ok);
    EXPECT_EQ(dir.Names(), std::set<std::string>{"OFFICE7.IFO.gz"});
}

}  // namespace
}  // namespace kavlo::report
