// The report archive as bytes: the layout written, and what the reader accepts.
#include <gtest/gtest.h>

#include <string>

#include "report/archive_reader.h"
#include "report/archive_writer.h"
#include "probes/system/tests/probe_test_support.h"
#include "report/tests/archive_bytes.h"

namespace kavlo::report {
namespace {

using testing::Bytes;
using testing::Read;
using testing::SampleReport;
using testing::Write;

// ------------------------------------------------------------ exact layout

// Navigation items, script files, titles and result nodes share one object
// numbering; the embedded root of a tree title has no tag (docs/report-format.md).
TEST(ReportLayout, WholeSampleReportWithSharedNumbering) {
    probe_test::ExpectSameAsFile(Write(SampleReport()), "report/tests/expected/sample_report.IFO");
}

// ------------------------------------------------------------ primitives

// A string's length prefix and a list's count, written and read back, with as
// many bytes following as the reader needs to believe the count (empty ones
// are in the sample report).
TEST(ArchivePrimitives, StringPrefixesAndCountsAtTheirBoundaries) {
    struct Case {
        bool isCount;
        std::size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {false, 254, "\xFE"},
        {false, 255, std::string("\xFF\xFF\x00", 3)},
        {false, 65533, "\xFF\xFD\xFF"},
        {false, 65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {false, 70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7)},
        {true, 65534, "\xFE\xFF"},
        {true, 65535, std::string("\xFF\xFF\xFF\xFF\x00\x00", 6)},
        {true, 65536, std::string("\xFF\xFF\x00\x00\x01\x00", 6)},
    };
    for (const auto& [isCount, length, prefix] : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::pair{isCount, length}));
        StringSink sink;
        ArchiveWriter out(sink);
        if (isCount) out.Count(length);
        else out.String(std::string(length, 'x'));
        ASSERT_TRUE(out.Flush());
        const std::string rest(isCount ? length * 2 : length, isCount ? '\0' : 'x');
        EXPECT_EQ(sink.bytes, prefix + (isCount ? "" : rest));
        const std::string bytes = prefix + rest;
        MemorySource source(bytes);
        ArchiveReader in(source);
        if (isCount) EXPECT_EQ(in.Count(2), length);
        else EXPECT_EQ(in.String(), rest);
        EXPECT_FALSE(in.failed());
        EXPECT_EQ(in.Remaining(), isCount ? rest.size() : 0u);
    }
}

TEST(ArchivePrimitives, StringFormsTheReaderAcceptsOrRefuses) {
    struct Case {
        const char* what;
        Bytes bytes;
        const char* text;  // nullptr: the read fails
    };
    const Case cases[] = {
        {"WORD prefix below 255", Bytes().b(0xFF).w(3).raw("abc"), "abc"},
        {"DWORD prefix below 65534", Bytes().b(0xFF).w(0xFFFF).d(2).raw("de"), "de"},
        // "a", EURO SIGN, "e" with acute, HIRAGANA A (not in Windows-1252)
        {"wide, BYTE length", Bytes().b(0xFF).w(0xFFFE).b(4).w(u'a').w(0x20AC).w(0xE9).w(0x3042), "a\x80\xE9?"},
        {"wide, WORD length", Bytes().b(0xFF).w(0xFFFE).b(0xFF).w(2).w(u'x').w(u'y'), "xy"},
        {"wide, DWORD length", Bytes().b(0xFF).w(0xFFFE).b(0xFF).w(0xFFFF).d(1).w(u'z'), "z"},
        {"wide, longer than the bytes left", Bytes().b(0xFF).w(0xFFFE).b(3).w(u'a').w(u'b').b(0), nullptr},
        {"second wide marker", Bytes().b(0xFF).w(0xFFFE).b(0xFF).w(0xFFFE).b(0), nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemorySource source(c.bytes.str());
        ArchiveReader in(source);
        EXPECT_EQ(in.String(), c.text ? c.text : "");
        EXPECT_EQ(in.failed(), c.text == nullptr);
    }
}

// ------------------------------------------------------------ references

TEST(ArchiveReferences, LongTagsBeyond0x7FFENumbers) {
    // 40,000 navigation items number far past 0x7FFE before the first script
    // file appears, so its class tag needs the long form.
    ReportContents report;
    report.navigation.Add(NavNode::kRootMarker, 1, "root");
    for (std::uint32_t i = 0; i < 40000; ++i) report.navigation.Add(1, i + 2, "");
    for (int i = 0; i < 2; ++i) report.catalog.push_back(std::make_unique<ScriptRecord>("p", "f"));
    const std::string bytes = Write(report);
    // classes: LView 1, objects 2..40001, DBGFile class 40002, first file 40003
    Bytes tail;
    tail.newClass("data_DBGFile").str("p").d(0).str("f").w(0);
    tail.w(0x7FFF).d(0x80000000u | 40002).str("p").d(0).str("f").w(0);
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail.str());

    ReportContents back;
    ASSERT_EQ(Read(bytes, back), ReadStatus::Ok);
    EXPECT_EQ(back.catalog.size(), 2u);
    EXPECT_EQ(back.navigation.children().size(), 40000u);
}

TEST(ArchiveReferences, BackReferencesToCompleteObjectsBecomeCopies) {
    Bytes b;
    b.header().str("root").d(1).w(2);
    b.newClass("data_LView").str("a").d(2).w(1);  // class 1, object 2
    b.w(0x8001).str("a1").d(3).w(0);              // object 3
    b.w(0x0002);                                  // "a" again beside itself
    b.title("", "text").w(2);
    b.newClass("data_DBGFile").str("a.dbg").d(7).str("a.dbg").w(2);                                   // 4, 5
    b.newClass("data_DBGTitle").d(0).d(8).str("T1").str("body").str("tree").str("").str("").str("");  // 6, 7
    b.str("T1").w(1).newClass("data_TView").str("leaf").w(0);  // class 8, object 9
    b.w(0x0007);                                               // the title again, by number
    b.w(0x7FFF).d(5);                                          // the whole file again, long form
    ReportContents back;
    ASSERT_EQ(Read(b.str(), back), ReadStatus::Ok);
    ASSERT_EQ(back.navigation.children().size(), 2u);
    ASSERT_EQ(back.navigation.children()[1]->children().size(), 1u);
    EXPECT_EQ(back.navigation.children()[1]->children()[0]->Text(), "a1");
    ASSERT_EQ(back.catalog.size(), 2u);
    const ScriptRecord& first = *back.catalog[0];
    const ScriptRecord& second = *back.catalog[1];
    ASSERT_EQ(first.titles.size(), 2u);
    EXPECT_NE(first.titles[0].get(), first.titles[1].get());
    EXPECT_EQ(first.titles[1]->text, "body");
    EXPECT_EQ(first.titles[1]->owner, &first);
    ASSERT_EQ(first.titles[1]->root.children().size(), 1u);
    EXPECT_EQ(first.titles[1]->root.children()[0]->title(), "leaf");
    ASSERT_EQ(second.titles.size(), 2u);
    EXPECT_EQ(second.titles[0]->owner, &second);
}

// ------------------------------------------------------------ versions

TEST(ReportVersions, Version300TitlesHaveNoSecondColumnLine) {
    Bytes b;
    b.header(300, 20).str("PC").d(1).w(0);
    b.title("", "text", 0, false);
    b.w(1).newClass("data_DBGFile").str("a.dbg").d(2).str("a.dbg").w(1);
    b.newClass("data_DBGTitle").d(1).d(3).str("Files").str("x\n").str("filelist").str("N,5").str("FNAME");
    ReportContents back;
    ASSERT_EQ(Read(b.str(), back), ReadStatus::Ok);
    EXPECT_EQ(back.formatVersion, 300u);
    EXPECT_EQ(back.buildNumber, 20u);
    EXPECT_FALSE(back.legacy);
    const TitleRecord& t = *back.catalog[0]->titles[0];
    EXPECT_EQ(t.header1, "FNAME");
    EXPECT_EQ(t.header2, "");
    EXPECT_EQ(t.kindDetail, "N,5");
}

TEST(ReportVersions, LegacyFileWithoutHeader) {
    Bytes b;
    b.str("PC1  [local computer]").d(0x00ABCDEF).w(1);  // third byte 'C' is non-zero
    b.newClass("data_LView").str("a.dbg").d(2).w(0);
    b.title("", "text", 0, false);
    b.w(1).newClass("data_DBGFile").str("a.dbg").d(2).str("a.dbg").w(1);
    b.newClass("data_DBGTitle").d(0).d(3).str("T").str("").str("tree").str("").str("");
    b.str("T").w(0);
    ReportContents back;
    ASSERT_EQ(Read(b.str(), back), ReadStatus::Ok);
    EXPECT_TRUE(back.legacy);
    EXPECT_EQ(back.formatVersion, 0u);
    EXPECT_EQ(back.navigation.Text(), "PC1  [local computer]");
    EXPECT_EQ(back.navigation.key(), 0x00ABCDEFu);
    EXPECT_EQ(back.catalog[0]->titles[0]->root.title(), "T");
}

// ------------------------------------------------------------ streamed sources

/// A source that hands out at most a few bytes per call, like a slow stream,
/// and may announce more bytes than it has.
class TrickleSource final : public ByteSource {
public:
    TrickleSource(std::string_view bytes, std::size_t step, std::size_t missing = 0)
        : bytes_(bytes), step_(step), missing_(missing) {}
    std::uint64_t Size() const override { return bytes_.size() + missing_; }
    std::size_t Read(char* buffer, std::size_t size) override {
        std::size_t n = std::min({size, step_, bytes_.size() - pos_});
        std::copy_n(bytes_.data() + pos_, n, buffer);
        pos_ += n;
        return n;
    }
    bool failed() const override { return false; }

private:
    std::string_view bytes_;
    std::size_t step_, missing_, pos_ = 0;
};

TEST(ReportRoundTrip, StreamedSourcesGiveTheSameRecords) {
    ReportContents big = SampleReport();
    big.catalog[0]->titles[0]->text = std::string(600 * 1024, 'q');  // longer than the read buffer
    const std::string bytes = Write(big);
    for (std::size_t step : {1u, 7u, 4096u, 1u << 20}) {
        SCOPED_TRACE(step);
        TrickleSource source(bytes, step);
        ReportContents back;
        ASSERT_EQ(ReadReport(source, back), ReadStatus::Ok);
        EXPECT_EQ(Write(back), bytes);
    }
    TrickleSource shorter(bytes, 1000, 10);
    ReportContents back;
    EXPECT_NE(ReadReport(shorter, back), ReadStatus::Ok) << "a source shorter than announced";
}

}  // namespace
}  // namespace kavlo::report
