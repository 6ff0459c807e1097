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

// What scripts cannot reach through the commands that use these helpers.
TEST(ReplaceAll, EmptyPatternAndOverlaps) {
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
}

}  // namespace
}  // namespace kavlo
