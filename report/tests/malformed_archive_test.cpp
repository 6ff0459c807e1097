// Damaged and hostile archives: each is refused as a format error and leaves the
// records that the caller had untouched.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "report/tests/archive_bytes.h"

namespace kavlo::report {
namespace {

using testing::Bytes;
using testing::Read;
using testing::SampleReport;
using testing::Write;

/// A header, a root with the given list bytes, an empty info page and catalog.
std::string WithNavigationChildren(std::uint16_t count, const Bytes& children) {
    Bytes b;
    b.header().str("root").d(1).w(count).raw(children.str());
    b.title("", "text").w(0);
    return b.str();
}

/// A header, an empty root, an info page of kind "tree" whose tree has the given children.
std::string WithTreeChildren(std::uint16_t count, const Bytes& children) {
    Bytes b;
    b.header().str("").d(0).w(0).title("", "tree").str("root").w(count).raw(children.str());
    b.w(0);
    return b.str();
}

struct Malformed {
    const char* what;
    std::function<std::string()> bytes;
};

const Malformed kMalformed[] = {
    {"unknown class", [] { return WithNavigationChildren(1, Bytes().newClass("data_XView").str("a").d(2).w(0)); }},
    {"registered class that reports never hold",
     [] { return WithNavigationChildren(1, Bytes().newClass("FileInfo").str("a").d(2).w(0)); }},
    {"class name differing in case",
     [] { return WithNavigationChildren(1, Bytes().newClass("data_lview").str("a").d(2).w(0)); }},
    {"class name of 64 bytes",
     [] { return WithNavigationChildren(1, Bytes().newClass(std::string(64, 'd')).str("a").d(2).w(0)); }},
    {"schema 101", [] { return WithNavigationChildren(1, Bytes().newClass("data_LView", 101).str("a").d(2).w(0)); }},
    {"class tag of an unassigned number",
     [] { return WithNavigationChildren(1, Bytes().w(0x8009).str("a").d(2).w(0)); }},
    {"long class tag of an unassigned number",
     [] { return WithNavigationChildren(1, Bytes().w(0x7FFF).d(0x80012345u).str("a").d(2).w(0)); }},
    {"long object number not yet assigned", [] { return WithNavigationChildren(1, Bytes().w(0x7FFF).d(0x00012345)); }},
    {"class number used as an object",
     [] { return WithNavigationChildren(2, Bytes().newClass("data_LView").str("a").d(2).w(0).w(0x0001)); }},
    {"object number used as a class",
     [] {
         return WithNavigationChildren(2,
                                       Bytes().newClass("data_LView").str("a").d(2).w(0).w(0x8002).str("b").d(3).w(0));
     }},
    {"null reference in a list", [] { return WithNavigationChildren(1, Bytes().w(0x0000)); }},
    {"tree node in the navigation list",
     [] { return WithNavigationChildren(1, Bytes().newClass("data_TView").str("a").w(0)); }},
    {"navigation item in a result tree",
     [] { return WithTreeChildren(1, Bytes().newClass("data_LView").str("a").d(2).w(0)); }},
    {"title where a script file belongs",
     [] {
         Bytes b;
         b.header().str("").d(0).w(0).title("", "text").w(1).newClass("data_DBGTitle").title("T", "text");
         return b.str();
     }},
    {"back-reference to an object of another class",
     [] {
         Bytes b;
         b.header().str("").d(0).w(1).newClass("data_LView").str("a").d(2).w(0);  // class 1, object 2
         b.title("", "text").w(1).w(0x0002);  // the navigation item where a script file belongs
         return b.str();
     }},
    {"back-reference to itself (a cycle)",
     [] { return WithNavigationChildren(1, Bytes().newClass("data_LView").str("a").d(2).w(1).w(0x0002)); }},
    {"back-reference to an ancestor",
     [] {
         return WithTreeChildren(1, Bytes().newClass("data_TView").str("a").w(1).w(0x8001).str("b").w(1).w(0x0002));
     }},
    {"back-reference to the script file being read",
     [] {
         Bytes b;
         b.header().str("").d(0).w(0).title("", "text").w(1);
         b.newClass("data_DBGFile").str("a").d(0).str("a").w(1).w(0x0002);
         return b.str();
     }},
    {"count larger than the bytes left", [] { return WithNavigationChildren(0xFFFF, Bytes().d(0x7FFFFFFF)); }},
    {"string longer than the bytes left",
     [] {
         Bytes b;
         b.header().b(0xFF).w(0xFFFF).d(0xFFFFFFF0).raw("abc");
         return b.str();
     }},
    {"trailing garbage after the catalog", [] { return Write(SampleReport()) + std::string(1, '\0'); }},
    {"navigation nested one level too deep",
     [] {
         Bytes b;
         b.header().str("").d(0).w(1).newClass("data_LView").str("").d(0).w(1);
         for (int level = 3; level <= 10001; ++level) b.w(0x8001).str("").d(0).w(level == 10001 ? 0 : 1);
         b.title("", "text").w(0);
         return b.str();
     }},
    {"result tree nested one level too deep",
     [] {
         Bytes b;
         b.header().str("").d(0).w(0).title("", "tree").str("root").w(1).newClass("data_TView").str("").w(1);
         for (int level = 3; level <= 10001; ++level) b.w(0x8001).str("").w(level == 10001 ? 0 : 1);
         b.w(0);
         return b.str();
     }},
    {"copies doubling at every level (expansion bomb)",
     [] {
         // node k holds node k-1 twice: 2^40 copies of a 1,000-byte title
         Bytes b;
         b.header().str("").d(0).w(0).title("", "tree").str("root").w(41);
         b.newClass("data_TView").str(std::string(1000, 'x')).w(0);  // class 1, object 2
         // node k has number k + 2 and refers to number k + 1 twice
         for (std::uint16_t k = 1; k <= 40; ++k) b.w(0x8001).str("").w(2).w(k + 1).w(k + 1);
         b.w(0);
         return b.str();
     }},
};

class MalformedArchive : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedArchive, IsAFormatErrorAndChangesNothing) {
    ReportContents kept;
    kept.navigation.SetText("kept");
    kept.catalog.push_back(std::make_unique<ScriptRecord>("x.dbg", "x.dbg"));
    EXPECT_EQ(Read(GetParam().bytes(), kept), ReadStatus::FormatError);
    EXPECT_EQ(kept.navigation.Text(), "kept");
    ASSERT_EQ(kept.catalog.size(), 1u);
    EXPECT_EQ(kept.catalog[0]->path, "x.dbg");
}

INSTANTIATE_TEST_SUITE_P(Cases, MalformedArchive, ::testing::ValuesIn(kMalformed),
                         [](const ::testing::TestParamInfo<Malformed>& info) {
                             std::string name;
                             for (const char* p = info.param.what; *p; ++p)
                                 name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                             return name;
                         });

TEST(MalformedArchiveLimits, NestingAtTheBoundIsAccepted) {
    Bytes b;
    b.header().str("").d(0).w(0).title("", "tree").str("root").w(1).newClass("data_TView").str("").w(1);
    for (int level = 3; level <= 10000; ++level) b.w(0x8001).str("").w(level == 10000 ? 0 : 1);
    b.w(0);
    ReportContents back;
    ASSERT_EQ(Read(b.str(), back), ReadStatus::Ok);
    EXPECT_EQ(back.infoPage.root.CountNodes(), 10000u);
    // and the writer produces it again, but refuses one level more
    EXPECT_EQ(Write(back), b.str());
    ResultNode* deepest = &back.infoPage.root;
    while (!deepest->children().empty()) deepest = deepest->children()[0].get();
    deepest->AddChild("one too many");
    StringSink sink;
    EXPECT_EQ(WriteReport(back, sink), WriteStatus::NotWritable);
}

TEST(MalformedArchiveLimits, EveryTruncationOfAValidFileFails) {
    const std::string bytes = Write(SampleReport());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        ReportContents back;
        EXPECT_EQ(Read(std::string_view(bytes).substr(0, length), back), ReadStatus::FormatError);
    }
}

}  // namespace
}  // namespace kavlo::report
