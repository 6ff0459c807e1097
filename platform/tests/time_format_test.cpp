#include "platform/time_format.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

TEST(FormatTime, ReportNamesAndLocaleForms) {
    platform::LocalTime t;
    t.year = 2001, t.month = 3, t.day = 14, t.hour = 21, t.minute = 5, t.second = 7, t.dayOfWeek = 3;
    const std::pair<const char*, const char*> cases[] = {
        {"%m_%d_%Y__%I_%M_%p", "03_14_2001__09_05_PM"},
        {"%c", "03/14/01 21:05:07"},
        {"%x", "03/14/01"},
        {"%I:%M:%S  %p", "09:05:07  PM"},
        {"%a %A %b %B %j %%", "Wed Wednesday Mar March 073 %"},
        {"%q and %", "%q and %"},  // an unknown conversion and a trailing "%" are copied
    };
    for (const auto& [format, text] : cases) EXPECT_EQ(FormatTime(t, format), text);
    t.hour = 0;  // midnight and noon are 12
    EXPECT_EQ(FormatTime(t, "%I %p"), "12 AM");
    t.hour = 12;
    EXPECT_EQ(FormatTime(t, "%I %p"), "12 PM");
}

}  // namespace
}  // namespace kavlo
