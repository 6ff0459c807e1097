#include "engine/text_util.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

TEST(FormatPercent, DoublePercentBecomesOne) {
    EXPECT_EQ(FormatPercent("50%% done\n"), "50% done\n");
}

}  // namespace
}  // namespace kavlo
