#include "probes/files/file_texts.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

struct SizeCase {
    std::uint64_t bytes;
    const char* text;
};

TEST(FormatSize, RangesOfThe32BitForm) {
    const SizeCase cases[] = {
        {0, "0"},
        {1000, "1000"},
        {1001, "1.0K"},
        {999'999, "999.9K"},
        {1'000'000, "1000.0K"},
        {1'000'001, "1.0MB"},
        {4'294'967'295u, "4294.9MB"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatSize(static_cast<std::uint32_t>(c.bytes)), c.text) << c.bytes;
}

TEST(FormatSize64, RangesOfThe64BitForm) {
    const SizeCase cases[] = {
        {1'000'000'000, "1000.0MB"},  // the gigabyte range starts above 1,000,000,000
        {1'000'000'001, "1.0G"},
        {2'500'000'000, "2.5G"},
        {18'446'744'073'709'551'615ull, "18446744073.7G"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatSize64(c.bytes), c.text) << c.bytes;
}

TEST(SizeText, UsesThe32BitFormWhileTheCountFits) {
    EXPECT_EQ(SizeText(4'294'967'295u), "4294.9MB");  // as the 32-bit form has always shown it
    EXPECT_EQ(SizeText(4'294'967'296ull), "4.2G");
}

TEST(DriveTypeWord, NoWordBeyondTheKnownValues) {
    EXPECT_EQ(DriveTypeWord(7), "");
    EXPECT_EQ(DriveTypeWord(0xFFFFFFFFu), "");
}

TEST(AttributeLetters, FixedOrderWhateverTheBitOrder) {
    EXPECT_EQ(AttributeLetters(0x80), "");   // "normal" has no letter
    EXPECT_EQ(AttributeLetters(0x400), "");  // nor has a reparse point
    EXPECT_EQ(AttributeLetters(0x1 | 0x2 | 0x4 | 0x10 | 0x20 | 0x800), "RACHSD");
}

}  // namespace
}  // namespace kavlo
