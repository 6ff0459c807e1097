#include "engine/text_util.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

struct DecimalCase {
    const char* text;
    std::int32_t value;
};

class ParseDecimalCases : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ParseDecimalCases, ReadsLikeAtoi) { EXPECT_EQ(ParseDecimal(GetParam().text), GetParam().value); }

INSTANTIATE_TEST_SUITE_P(Texts, ParseDecimalCases,
                         ::testing::Values(DecimalCase{"12abc", 12}, DecimalCase{"  -3", -3}, DecimalCase{"+7", 7},
                                           DecimalCase{"", 0}, DecimalCase{"x1", 0}, DecimalCase{"- 1", 0},
                                           DecimalCase{"1:Enabled", 1}, DecimalCase{"\t\n42 ", 42},
                                           DecimalCase{"2147483647", 2147483647},
                                           DecimalCase{"99999999999999999999", 2147483647},
                                           DecimalCase{"-2147483648", -2147483647 - 1},
                                           DecimalCase{"-99999999999999", -2147483647 - 1}));

TEST(Split, MissingSeparatorMeansEverythingFollows) {
    EXPECT_EQ(AfterFirst("a=b=c", '='), "b=c");
    EXPECT_EQ(AfterFirst("abc", '='), "abc");
    EXPECT_EQ(SplitFirst("a,b,c", ',').first, "a");
    EXPECT_EQ(SplitFirst("a,b,c", ',').second, "b,c");
    EXPECT_EQ(SplitFirst("abc", ',').first, "");
    EXPECT_EQ(SplitFirst("abc", ',').second, "abc");
}

TEST(Replace, AllOccurrencesAndEmptyPattern) {
    EXPECT_EQ(ReplaceAll("aXbXc", "X", "--"), "a--b--c");
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(RemoveAll("{a{b{", '{'), "ab");
    EXPECT_EQ(TrimTrailing("a b \t\r\n"), "a b");
    EXPECT_EQ(TrimLeading(" \t a "), "a ");
}

}  // namespace
}  // namespace kavlo
