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
        {1, "1"},
        {512, "512"},
        {1000, "1000"},
        {1001, "1.0K"},
        {5000, "5.0K"},
        {999'999, "999.9K"},
        {1'000'000, "1000.0K"},
        {1'000'001, "1.0MB"},
        {1'234'567, "1.2MB"},
        {4'294'967'295u, "4294.9MB"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatSize(static_cast<std::uint32_t>(c.bytes)), c.text) << c.bytes;
}

TEST(FormatSize64, RangesOfThe64BitForm) {
    const SizeCase cases[] = {
        {0, "0"},
        {512, "512"},
        {999'999, "999.9K"},
        {1'000'001, "1.0MB"},
        {1'000'000'000, "1000.0MB"},  // the gigabyte range starts above 1,000,000,000
        {1'000'000'001, "1.0G"},
        {2'500'000'000, "2.5G"},
        {5'000'000'000, "5.0G"},
        {18'446'744'073'709'551'615ull, "18446744073.7G"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormatSize64(c.bytes), c.text) << c.bytes;
}

TEST(SizeText, UsesThe32BitFormWhileTheCountFits) {
    EXPECT_EQ(SizeText(512), "512");
    EXPECT_EQ(SizeText(999'999), "999.9K");
    EXPECT_EQ(SizeText(4'294'967'295u), "4294.9MB");  // as the 32-bit form has always shown it
    EXPECT_EQ(SizeText(4'294'967'296ull), "4.2G");
    EXPECT_EQ(SizeText(5'000'000'000ull), FormatSize64(5'000'000'000ull));
}

TEST(DriveTypeWord, EveryKnownValueAndBeyond) {
    const char* words[] = {"Unknown", "Not a root", "Removable", "HardDrive", "Network", "CD-ROM", "RAM"};
    for (std::uint32_t i = 0; i < 7; ++i) EXPECT_EQ(DriveTypeWord(i), words[i]);
    EXPECT_EQ(DriveTypeWord(7), "");
    EXPECT_EQ(DriveTypeWord(0xFFFFFFFFu), "");
}

TEST(AttributeLetters, FixedOrderWhateverTheBitOrder) {
    EXPECT_EQ(AttributeLetters(0x21), "RA");
    EXPECT_EQ(AttributeLetters(0x10), "D");
    EXPECT_EQ(AttributeLetters(0x80), "");   // "normal" has no letter
    EXPECT_EQ(AttributeLetters(0x400), "");  // nor has a reparse point
    EXPECT_EQ(AttributeLetters(0x1 | 0x2 | 0x4 | 0x10 | 0x20 | 0x800), "RACHSD");
    EXPECT_EQ(AttributeLetters(0x816), "CHSD");
}

TEST(RightsLetters, AlwaysSixPairs) {
    EXPECT_EQ(RightsLetters(0x1 | 0x20), "+R-W+X-D-P-O");
    EXPECT_EQ(RightsLetters(0), "-R-W-X-D-P-O");
    EXPECT_EQ(RightsLetters(0x1F01FF), "+R+W+X+D+P+O");
    EXPECT_EQ(RightsLetters(0x40000 | 0x80000), "-R-W-X-D+P+O");
    EXPECT_EQ(RightsLetters(0x10000 | 0x2), "-R+W-X+D-P-O");
}

TEST(TranslationHex, FourLowerCaseDigits) {
    EXPECT_EQ(TranslationHex(0x0409), "0409");
    EXPECT_EQ(TranslationHex(0x04E4), "04e4");
    EXPECT_EQ(TranslationHex(0x04B0), "04b0");
    EXPECT_EQ(TranslationHex(0), "0000");
    EXPECT_EQ(TranslationHex(0xFDE9), "fde9");
    EXPECT_EQ(TranslationHex(0x0009), "0009");
}

TEST(VersionFieldText, CommasCutsAndZeros) {
    EXPECT_EQ(VersionFieldText("5, 0, 2, 1", true), "5. 0. 2. 1");
    EXPECT_EQ(VersionFieldText("5, 0, 2, 1", false), "5, 0, 2, 1");
    EXPECT_EQ(VersionFieldText(std::string_view("abc\0def", 7), false), "abc");
    const std::string longText(300, 'x');
    EXPECT_EQ(VersionFieldText(longText, false).size(), kVersionFieldChars);
    EXPECT_EQ(VersionFieldText(std::string(255, 'y'), false), std::string(255, 'y'));
}

}  // namespace
}  // namespace kavlo
