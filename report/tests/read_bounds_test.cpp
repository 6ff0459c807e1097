// What reading a report may build is bounded in nodes and memory, however
// small the file: past the bound the read is a format error, never an abort.
#include <gtest/gtest.h>
#include <zlib.h>

#include "engine/testing/address_space_limit.h"
#include "platform/testing/temp_folder.h"
#include "report/report_file.h"
#include "report/tests/archive_bytes.h"

namespace kavlo::report {
namespace {

using testing::Bytes;

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
