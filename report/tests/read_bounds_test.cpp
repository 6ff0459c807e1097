// What reading a report may build is bounded in nodes and memory, however
// small the file: past the bound the read is a format error, never an abort.
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>

#include "engine/testing/address_space_limit.h"
#include "report/report_file.h"
#include "report/tests/archive_bytes.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::report {
namespace {

using kavlo::testing::TempFolder;
using testing::Bytes;

/// The start of a report whose navigation root has `children` empty children.
Bytes WideNavigation(std::uint32_t children) {
    Bytes bytes;
    bytes.header().str("PC").d(1).w(0xFFFF).d(children);
    if (children > 0) bytes.newClass("data_LView").str("").d(0).w(0);
    return bytes;
}

/// One more empty child of class 1 (tag 0x8001).
constexpr char kNextChild[] = {'\x01', '\x80', '\x00', '\x00', '\x00', '\x00', '\x00', '\x00', '\x00'};

/// The information page and an empty catalog, which end every report here.
std::string Ending() { return Bytes().title("", "text").w(0).str(); }

std::string WideReport(std::uint32_t children) {
    std::string bytes = WideNavigation(children).str();
    for (std::uint32_t i = 1; i < children; ++i) bytes.append(kNextChild, sizeof kNextChild);
    return bytes + Ending();
}

ReadStatus ReadWith(const std::string& bytes, std::uint64_t maxNodes, std::uint64_t maxMemory) {
    MemorySource source(bytes);
    ReportContents out;
    return ReadReport(source, out, ReadOptions{1252, maxNodes, maxMemory});
}

TEST(ReadBounds, NodesAndMemoryUpToTheBoundAndNotBeyond) {
    const std::string hundred = WideReport(100);
    EXPECT_EQ(ReadWith(hundred, 100, kMaxReadMemory), ReadStatus::Ok);
    EXPECT_EQ(ReadWith(hundred, 99, kMaxReadMemory), ReadStatus::FormatError);

    // A title text of 100,000 characters takes its length and an allocation's bookkeeping.
    const std::string withText = Bytes()
                                     .header()
                                     .str("PC")
                                     .d(1)
                                     .w(0)
                                     .d(0)
                                     .d(0)
                                     .str("")
                                     .str(std::string(100000, 'x'))
                                     .str("text")
                                     .str("")
                                     .str("")
                                     .str("")
                                     .w(0)
                                     .str();
    EXPECT_EQ(ReadWith(withText, kMaxReadNodes, StringMemory(100000)), ReadStatus::Ok);
    EXPECT_EQ(ReadWith(withText, kMaxReadNodes, StringMemory(100000) - 1), ReadStatus::FormatError);
}

/// Compresses `head`, `count` copies of `unit` and `tail` into a gzip file.
void WriteGzip(const std::string& path, const std::string& head, const std::string& unit, std::uint64_t count,
               const std::string& tail) {
    z_stream stream{};
    ASSERT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 9, Z_DEFAULT_STRATEGY), Z_OK);
    std::ofstream out(path, std::ios::binary);
    std::string block;
    for (int i = 0; i < 1 << 16; ++i) block += unit;
    const std::uint64_t perBlock = 1 << 16;
    char buffer[1 << 16];
    auto feed = [&](const std::string& data, int flush) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
        stream.avail_in = static_cast<uInt>(data.size());
        do {
            stream.next_out = reinterpret_cast<Bytef*>(buffer);
            stream.avail_out = sizeof buffer;
            deflate(&stream, flush);
            out.write(buffer, static_cast<std::streamsize>(sizeof buffer - stream.avail_out));
        } while (stream.avail_out == 0);
    };
    feed(head, Z_NO_FLUSH);
    for (std::uint64_t done = 0; done < count; done += perBlock)
        feed(count - done >= perBlock ? block : block.substr(0, (count - done) * unit.size()), Z_NO_FLUSH);
    feed(tail, Z_FINISH);
    deflateEnd(&stream);
}

TEST(ReadBounds, ASmallReportOfManyNodesIsRefusedWithinTheMemoryLimit) {
    // 20 million empty navigation nodes: 180 MB of archive in about 200 KB of
    // gzip, which would build over 2 GB of records.
    constexpr std::uint32_t kNodes = 20'000'000;
    if (!kavlo::testing::AddressSpaceLimit::Supported()) GTEST_SKIP() << "no address-space limit here";
    TempFolder dir;
    const std::string path = dir.File("many.IFO.gz");
    WriteGzip(path, WideNavigation(kNodes).str(), std::string(kNextChild, sizeof kNextChild), kNodes - 1, Ending());
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
