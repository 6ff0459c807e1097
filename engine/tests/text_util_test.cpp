#include "engine/text_util.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

// What scripts cannot reach through the commands that use these helpers.
TEST(ReplaceAll, EmptyPatternAndOverlaps) {
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
    EXPECT_EQ(ReplaceAll("aaa", "aa", "b"), "ba");
}

}  // namespace
}  // namespace kavlo
