// Reports on disk: atomic saves, opening plain and compressed files, gzip in-process.
#include <fstream>
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "report/report_file.h"
#include "report/report_messages.h"
#include "report/tests/archive_bytes.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::report {
namespace {

using kavlo::testing::ReadAll;
using kavlo::testing::TempFolder;
using kavlo::testing::WriteAll;
using testing::SampleReport;
using testing::Write;

/// gzip bytes of `content` as one member, compressed in memory.
std::string Gzip(const std::string& content, int level = 6) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, level, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY), Z_OK);
    std::string out(deflateBound(&stream, content.size()) + 64, '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(content.data()));
    stream.avail_in = static_cast<uInt>(content.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

std::string Gunzip(const std::string& gz) {
    z_stream stream{};
    EXPECT_EQ(inflateInit2(&stream, 15 + 16), Z_OK);
    std::string out;
    char buffer[65536];
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(gz.data()));
    stream.avail_in = static_cast<uInt>(gz.size());
    int rc = Z_OK;
    while (rc == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(buffer);
        stream.avail_out = sizeof buffer;
        rc = inflate(&stream, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - stream.avail_out);
    }
    EXPECT_EQ(rc, Z_STREAM_END);
    inflateEnd(&stream);
    return out;
}

// ------------------------------------------------------------ saving

TEST(SaveReport, WritesTheArchiveAndLeavesNoTemporaryFile) {
    TempFolder dir;
    const std::string path = dir.File("OFFICE7 03_14_2001 09_05_PM.IFO");
    ASSERT_TRUE(SaveReportFile(path, SampleReport()).ok);
    EXPECT_EQ(ReadAll(path), Write(SampleReport()));
    EXPECT_EQ(dir.Names(), std::set<std::string>{"OFFICE7 03_14_2001 09_05_PM.IFO"});
}

TEST(SaveReport, ReplacesAnExistingReport) {
    TempFolder dir;
    const std::string path = dir.File("r.IFO");
    WriteAll(path, std::string(100000, 'o'));
    ASSERT_TRUE(SaveReportFile(path, SampleReport()).ok);
    EXPECT_EQ(ReadAll(path), Write(SampleReport()));
    EXPECT_EQ(dir.Names().size(), 1u);
}

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

TEST(SaveReport, FailedRenameLeavesTheTargetAndNoTemporary) {
    TempFolder dir;
    // a non-empty directory in the way of the target cannot be replaced by a file
    const std::string path = dir.File("r.IFO");
    std::filesystem::create_directories(std::filesystem::path(path) / "inside");
    const FileOutcome outcome = SaveReportFile(path, SampleReport());
    EXPECT_FALSE(outcome.ok);
    EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(path) / "inside"));
    EXPECT_EQ(dir.Names(), std::set<std::string>{"r.IFO"});
}

TEST(SaveReport, MissingDirectoryIsAFailedSave) {
    TempFolder dir;
    const FileOutcome outcome = SaveReportFile(dir.File("no-such-dir/r.IFO"), SampleReport());
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Failed to save document.");
}

TEST(SaveReport, FailureMessagesByCause) {
    EXPECT_EQ(SaveFailureMessage(ENOSPC, "C:\\r.IFO"), "Destination disk drive is full.");
    EXPECT_EQ(SaveFailureMessage(EACCES, "C:\\r.IFO"),
              "Unable to write to C:\\r.IFO, it is read-only or opened by someone else.");
    EXPECT_EQ(SaveFailureMessage(EROFS, "x"), "Unable to write to x, it is read-only or opened by someone else.");
    EXPECT_EQ(SaveFailureMessage(EIO, "x"), "Failed to save document.");
}

TEST(SaveReport, DiskFullIsReportedBySink) {
    std::FILE* full = std::fopen("/dev/full", "wb");
    if (!full) GTEST_SKIP() << "no /dev/full here";
    FileSink sink(full);
    const std::string block(1 << 20, 'x');
    // a block larger than the C buffer reaches the device at once
    const bool written = sink.Write(block.data(), block.size());
    std::fclose(full);
    EXPECT_FALSE(written);
    EXPECT_EQ(sink.error(), ENOSPC);
    EXPECT_EQ(SaveFailureMessage(sink.error(), "x"), "Destination disk drive is full.");
    EXPECT_FALSE(sink.Write("y", 1)) << "a failed sink stays failed";
}

// ------------------------------------------------------------ opening

TEST(OpenReport, PlainFileRoundTrip) {
    TempFolder dir;
    const std::string path = dir.File("r.IFO");
    ASSERT_TRUE(SaveReportFile(path, SampleReport()).ok);
    ReportContents back;
    ASSERT_TRUE(OpenReportFile(path, back).ok);
    EXPECT_EQ(Write(back), Write(SampleReport()));
}

TEST(OpenReport, Failures) {
    TempFolder dir;
    WriteAll(dir.File("garbage.IFO"), "\x32\x01\x00\x00 this is not a report");
    WriteAll(dir.File("empty.IFO"), "");
    WriteAll(dir.File("fake.IFO.gz"), "not gzip at all");
    WriteAll(dir.File("bad.gz"), std::string("\x1F\x8B", 2) + "broken");
    const std::string good = Gzip(Write(SampleReport()));
    WriteAll(dir.File("truncated.gz"), good.substr(0, good.size() - 5));
    std::string badCrc = good;
    badCrc[badCrc.size() - 6] ^= 0x55;
    WriteAll(dir.File("crc.gz"), badCrc);
    WriteAll(dir.File("garbage-after.gz"), good + "trailing");
    WriteAll(dir.File("wrong-content.gz"), Gzip("this is not a report"));
    struct Case {
        std::string path;
        std::string message;
    };
    const std::string missing = dir.File("missing.IFO");
    const Case cases[] = {
        {missing, missing + "\nCannot find this file.\nPlease verify that the correct path and file name are given."},
        {dir.File("garbage.IFO"), "Unexpected file format."},
        {dir.File("empty.IFO"), "Unexpected file format."},
        {dir.File("fake.IFO.gz"), "Unexpected file format."},
        {dir.File("bad.gz"), "Unexpected file format."},
        {dir.File("truncated.gz"), "Unexpected file format."},
        {dir.File("crc.gz"), "Unexpected file format."},
        {dir.File("garbage-after.gz"), "Unexpected file format."},
        {dir.File("wrong-content.gz"), "Unexpected file format."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        ReportContents kept;
        kept.navigation.SetText("kept");
        const FileOutcome outcome = OpenReportFile(c.path, kept);
        EXPECT_FALSE(outcome.ok);
        EXPECT_EQ(outcome.message, c.message);
        EXPECT_EQ(kept.navigation.Text(), "kept");
    }
}

TEST(OpenReport, GzipWithSeveralMembersAndZeroPadding) {
    TempFolder dir;
    const std::string bytes = Write(SampleReport());
    const std::size_t half = bytes.size() / 2;
    WriteAll(dir.File("r.IFO.gz"), Gzip(bytes.substr(0, half)) + Gzip(bytes.substr(half)) + std::string(512, '\0'));
    ReportContents back;
    const FileOutcome outcome = OpenReportFile(dir.File("r.IFO.gz"), back);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(Write(back), bytes);
}

TEST(OpenReport, ReadOnlyGzipIsOpenedAndLeftAsItWas) {
    TempFolder dir;
    const std::string gz = dir.File("x.IFO.gz");
    const std::string compressed = Gzip(Write(SampleReport()));
    WriteAll(gz, compressed);
    std::filesystem::permissions(gz, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                         std::filesystem::perms::others_read);
    const auto before = std::filesystem::last_write_time(gz);
    ReportContents back;
    const FileOutcome outcome = OpenReportFile(gz, back);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(Write(back), Write(SampleReport()));
    EXPECT_EQ(ReadAll(gz), compressed);
    EXPECT_EQ(std::filesystem::last_write_time(gz), before);
    EXPECT_EQ(dir.Names(), std::set<std::string>{"x.IFO.gz"});
}

TEST(OpenReport, GzipNamedLikeAPlainReportIsStillRead) {
    TempFolder dir;
    WriteAll(dir.File("renamed.IFO"), Gzip(Write(SampleReport())));
    ReportContents back;
    EXPECT_TRUE(OpenReportFile(dir.File("renamed.IFO"), back).ok);
}

TEST(OpenReport, GzipBombIsRefusedBeforeItIsHeld) {
    TempFolder dir;
    // 64 MiB of zeros in a member of about 64 KiB; with a limit of 16 MiB the
    // first pass stops early and nothing of it is kept.
    WriteAll(dir.File("bomb.gz"), Gzip(std::string(64 << 20, '\0'), 9));
    ReportContents back;
    OpenOptions options;
    options.maxArchiveBytes = 16 << 20;
    const FileOutcome outcome = OpenReportFile(dir.File("bomb.gz"), back, options);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Unexpected file format.");
}

TEST(OpenReport, GzipBombBeyondFourGibibytesIsRefused) {
    TempFolder dir;
    // 65 members of 64 MiB of zeros each: 4160 MiB from about 4 MiB of file.
    const std::string member = Gzip(std::string(64 << 20, '\0'), 9);
    {
        std::ofstream out(dir.File("bomb.IFO.gz"), std::ios::binary);
        for (int i = 0; i < 65; ++i) out.write(member.data(), static_cast<std::streamsize>(member.size()));
    }
    ReportContents back;
    const FileOutcome outcome = OpenReportFile(dir.File("bomb.IFO.gz"), back);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Unexpected file format.");
}

// ------------------------------------------------------------ compressing

TEST(CompressReport, ReplacesTheReportByItsGzipFile) {
    TempFolder dir;
    const std::string path = dir.File("OFFICE7.IFO");
    ASSERT_TRUE(SaveReportFile(path, SampleReport()).ok);
    std::string gzPath;
    const FileOutcome outcome = CompressSavedReport(path, &gzPath);
    ASSERT_TRUE(outcome.ok) << outcome.message;
    EXPECT_EQ(gzPath, path + ".gz");
    EXPECT_EQ(dir.Names(), std::set<std::string>{"OFFICE7.IFO.gz"});
    const std::string gz = ReadAll(gzPath);
    EXPECT_EQ(Gunzip(gz), Write(SampleReport()));
    // gzip header: magic, deflate, FNAME flag, then the original name after the 10 fixed bytes
    ASSERT_GT(gz.size(), 22u);
    EXPECT_EQ(static_cast<unsigned char>(gz[0]), 0x1F);
    EXPECT_EQ(static_cast<unsigned char>(gz[1]), 0x8B);
    EXPECT_EQ(gz[2], 8);
    EXPECT_EQ(gz[3] & 0x08, 0x08);
    EXPECT_EQ(gz.substr(10, 12), std::string("OFFICE7.IFO\0", 12));
    ReportContents back;
    ASSERT_TRUE(OpenReportFile(gzPath, back).ok);
    EXPECT_EQ(Write(back), Write(SampleReport()));
}

TEST(CompressReport, LargeReportRoundTrip) {
    TempFolder dir;
    const std::string path = dir.File("big.IFO");
    ReportContents report = SampleReport();
    std::string text;
    for (int i = 0; i < 200000; ++i) text += "line " + std::to_string(i * 7919 % 100003) + "\n";
    report.catalog[0]->titles[0]->text = text;
    ASSERT_TRUE(SaveReportFile(path, report).ok);
    ASSERT_TRUE(CompressSavedReport(path).ok);
    ReportContents back;
    ASSERT_TRUE(OpenReportFile(path + ".gz", back).ok);
    EXPECT_EQ(back.catalog[0]->titles[0]->text, text);
}

TEST(CompressReport, MissingReport) {
    TempFolder dir;
    const FileOutcome outcome = CompressSavedReport(dir.File("none.IFO"));
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(dir.Names().size(), 0u);
}

}  // namespace
}  // namespace kavlo::report
