#include "platform/time_format.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

platform::LocalTime EveningOfMarch14() {
    platform::LocalTime t;
    t.year = 2001;
    t.month = 3;
    t.day = 14;
    t.hour = 21;
    t.minute = 5;
    t.second = 7;
    t.dayOfWeek = 3;
    return t;
}

TEST(FormatTime, ReportNamesAndLocaleForms) {
    const auto t = EveningOfMarch14();
    EXPECT_EQ(FormatTime(t, "%m_%d_%Y %I_%M_%p"), "03_14_2001 09_05_PM");
    EXPECT_EQ(FormatTime(t, "%m_%d_%Y__%I_%M_%p"), "03_14_2001__09_05_PM");
    EXPECT_EQ(FormatTime(t, "%c"), "03/14/01 21:05:07");
    EXPECT_EQ(FormatTime(t, "%x"), "03/14/01");
    EXPECT_EQ(FormatTime(t, "%I:%M:%S  %p"), "09:05:07  PM");
    EXPECT_EQ(FormatTime(t, "%a %A %b %B %j %%"), "Wed Wednesday Mar March 073 %");
}

TEST(FormatTime, MidnightAndNoonUseTwelve) {
    auto t = EveningOfMarch14();
    t.hour = 0;
    EXPECT_EQ(FormatTime(t, "%I %p"), "12 AM");
    t.hour = 12;
    EXPECT_EQ(FormatTime(t, "%I %p"), "12 PM");
}

TEST(FormatTime, UnknownConversionAndTrailingPercentAreCopied) {
    EXPECT_EQ(FormatTime(EveningOfMarch14(), "%q and %"), "%q and %");
}

}  // namespace
}  // namespace kavlo
