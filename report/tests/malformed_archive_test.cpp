// Damaged and hostile archives: each is refused as a format error and leaves the
// records that the caller had untouched. What reading a report may build is
// bounded in nodes and memory, however small the file: past the bound the read
// is a format error, never an abort.
#include <gtest/gtest.h>
#include <zlib.h>

#include <string>

#include "engine/testing/address_space_limit.h"
#include "platform/testing/temp_folder.h"
#include "report/report_file.h"
#include "report/tests/archive_bytes.h"

namespace kavlo::report {
namespace {

using testing::Bytes;
using testing::Read;
using testing::SampleReport;
using testing::Write;

/// A header, a root with the given list bytes, an empty info page and catalog.
std::string Nav(const Bytes& children, std::uint16_t count = 1) {
    Bytes b;
    b.header().str("root").d(1).w(count).raw(children.str());
    b.title("", "text").w(0);
    return b.str();
}

/// A header, an empty root, an info page of kind "tree" whose tree has the given children.
std::string Tree(const Bytes& children, std::uint16_t count = 1) {
    Bytes b;
    b.header().str("").d(0).w(0).title("", "tree").str("root").w(count).raw(children.str());
    b.w(0);
    return b.str();
}

/// A header, an empty root and info page, then the catalog's bytes.
std::string Catalog(const Bytes& catalog) {
    Bytes b;
    b.header().str("").d(0).w(0).title("", "text").raw(catalog.str());
    return b.str();
}

/// A navigation item "a" without children, of a new class.
Bytes Item(std::string_view className, std::uint16_t schema = 100) {
    return Bytes().newClass(className, schema).str("a").d(2).w(0);
}

/// Nodes of one new class, each the only child of the one before, `depth` levels
/// deep counting the root: navigation items or result tree nodes.
Bytes Chain(int depth, bool navigation) {
    Bytes b;
    b.newClass(navigation ? "data_LView" : "data_TView").str("");
    for (int level = 2; level <= depth; ++level) {
        if (level > 2) b.w(0x8001).str("");
        if (navigation) b.d(0);
        b.w(level == depth ? 0 : 1);
    }
    return b;
}

/// 41 result nodes where node k holds node k-1 twice: 2^40 copies of a 1,000-byte title.
Bytes Doubling() {
    Bytes b;
    b.newClass("data_TView").str(std::string(1000, 'x')).w(0);  // class 1, object 2
    // node k has number k + 2 and refers to number k + 1 twice
    for (std::uint16_t k = 1; k <= 40; ++k) b.w(0x8001).str("").w(2).w(k + 1).w(k + 1);
    return b;
}

struct Malformed {
    const char* what;
    std::string bytes;
};

const Malformed kMalformed[] = {
    {"unknown class", Nav(Item("data_XView"))},
    {"registered class that reports never hold", Nav(Item("FileInfo"))},
    {"class name differing in case", Nav(Item("data_lview"))},
    {"class name of 64 bytes", Nav(Item(std::string(64, 'd')))},
    {"schema 101", Nav(Item("data_LView", 101))},
    {"class tag of an unassigned number", Nav(Bytes().w(0x8009).str("a").d(2).w(0))},
    {"long class tag of an unassigned number", Nav(Bytes().w(0x7FFF).d(0x80012345u).str("a").d(2).w(0))},
    {"long object number not yet assigned", Nav(Bytes().w(0x7FFF).d(0x00012345))},
    {"class number used as an object", Nav(Item("data_LView").w(0x0001), 2)},
    {"object number used as a class", Nav(Item("data_LView").w(0x8002).str("b").d(3).w(0), 2)},
    {"null reference in a list", Nav(Bytes().w(0x0000))},
    {"tree node in the navigation list", Nav(Bytes().newClass("data_TView").str("a").w(0))},
    {"title where a script file belongs", Catalog(Bytes().w(1).newClass("data_DBGTitle").title("T", "text"))},
    // the navigation item (class 1, object 2) again where a script file belongs
    {"back-reference to an object of another class",
     Bytes().header().str("").d(0).w(1).raw(Item("data_LView").str()).title("", "text").w(1).w(0x0002).str()},
    {"back-reference to itself (a cycle)", Nav(Bytes().newClass("data_LView").str("a").d(2).w(1).w(0x0002))},
    {"back-reference to an ancestor",
     Tree(Bytes().newClass("data_TView").str("a").w(1).w(0x8001).str("b").w(1).w(0x0002))},
    {"back-reference to the script file being read",
     Catalog(Bytes().w(1).newClass("data_DBGFile").str("a").d(0).str("a").w(1).w(0x0002))},
    {"count larger than the bytes left", Nav(Bytes().d(0x7FFFFFFF), 0xFFFF)},
    {"string longer than the bytes left", Bytes().header().b(0xFF).w(0xFFFF).d(0xFFFFFFF0).raw("abc").str()},
    {"trailing garbage after the catalog", Write(SampleReport()) + std::string(1, '\0')},
    {"navigation nested one level too deep", Nav(Chain(10001, true))},
    {"result tree nested one level too deep", Tree(Chain(10001, false))},
    {"copies doubling at every level (expansion bomb)", Tree(Doubling(), 41)},
};

class MalformedArchive : public ::testing::TestWithParam<Malformed> {};

TEST_P(MalformedArchive, IsAFormatErrorAndChangesNothing) {
    ReportContents kept;
    kept.navigation.SetText("kept");
    kept.catalog.push_back(std::make_unique<ScriptRecord>("x.dbg", "x.dbg"));
    EXPECT_EQ(Read(GetParam().bytes, kept), ReadStatus::FormatError);
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
    const std::string bytes = Tree(Chain(10000, false));
    ReportContents back;
    ASSERT_EQ(Read(bytes, back), ReadStatus::Ok);
    EXPECT_EQ(back.infoPage.root.CountNodes(), 10000u);
    // and the writer produces it again (one level more is refused in the save tests)
    EXPECT_EQ(Write(back), bytes);
}

TEST(MalformedArchiveLimits, EveryTruncationOfAValidFileFails) {
    const std::string bytes = Write(SampleReport());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        ReportContents back;
        EXPECT_EQ(Read(std::string_view(bytes).substr(0, length), back), ReadStatus::FormatError);
    }
}

// ------------------------------------------------------------ bounds of what is built

/// The start of a report whose navigation root has `children` empty children.
std::string WideNavigation(std::uint32_t children) {
    return Bytes().header().str("PC").d(1).w(0xFFFF).d(children).newClass("data_LView").str("").d(0).w(0).str();
}

/// One more empty child of class 1 (tag 0x8001).
const std::string kNextChild("\x01\x80\x00\x00\x00\x00\x00\x00\x00", 9);

/// The information page and an empty catalog, which end every report here.
std::string Ending() { return Bytes().title("", "text").w(0).str(); }

ReadStatus ReadWith(const std::string& bytes, std::uint64_t maxNodes, std::uint64_t maxMemory) {
    MemorySource source(bytes);
    ReportContents out;
    return ReadReport(source, out, ReadOptions{1252, maxNodes, maxMemory});
}

TEST(ReadBounds, NodesAndMemoryUpToTheBoundAndNotBeyond) {
    std::string hundred = WideNavigation(100);
    for (int i = 1; i < 100; ++i) hundred += kNextChild;
    hundred += Ending();
    EXPECT_EQ(ReadWith(hundred, 100, kMaxReadMemory), ReadStatus::Ok);
    EXPECT_EQ(ReadWith(hundred, 99, kMaxReadMemory), ReadStatus::FormatError);

    // A title text of 100,000 characters takes its length and an allocation's bookkeeping.
    Bytes withText;
    withText.header().str("PC").d(1).w(0).d(0).d(0).str("").str(std::string(100000, 'x'));
    withText.str("text").str("").str("").str("").w(0);
    EXPECT_EQ(ReadWith(withText.str(), kMaxReadNodes, StringMemory(100000)), ReadStatus::Ok);
    EXPECT_EQ(ReadWith(withText.str(), kMaxReadNodes, StringMemory(100000) - 1), ReadStatus::FormatError);
}

TEST(ReadBounds, ASmallReportOfManyNodesIsRefusedWithinTheMemoryLimit) {
    // 20 million empty navigation nodes: 180 MB of archive in about 200 KB of
    // gzip, which would build over 2 GB of records.
    constexpr std::uint32_t kNodes = 20'000'000;
    if (!kavlo::testing::AddressSpaceLimit::Supported()) GTEST_SKIP() << "no address-space limit here";
    kavlo::testing::TempFolder dir;
    const std::string path = dir.File("many.IFO.gz");
    gzFile gz = gzopen(path.c_str(), "wb9");
    ASSERT_NE(gz, nullptr);
    std::string block = WideNavigation(kNodes);
    for (std::uint32_t done = 1; done < kNodes; done += 1 << 16) {
        for (std::uint32_t i = done; i < std::min(kNodes, done + (1u << 16)); ++i) block += kNextChild;
        ASSERT_EQ(gzwrite(gz, block.data(), static_cast<unsigned>(block.size())), static_cast<int>(block.size()));
        block.clear();
    }
    block = Ending();
    gzwrite(gz, block.data(), static_cast<unsigned>(block.size()));
    ASSERT_EQ(gzclose(gz), Z_OK);
    ASSERT_LT(std::filesystem::file_size(path), 1u << 20);

    kavlo::testing::AddressSpaceLimit limit(std::uint64_t{1536} << 20);
    if (!limit.ok()) GTEST_SKIP() << "the address-space limit cannot be set here";
    ReportContents out;
    const FileOutcome outcome = OpenReportFile(path, out);
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.message, "Unexpected file format.");
}

}  // namespace
}  // namespace kavlo::report
