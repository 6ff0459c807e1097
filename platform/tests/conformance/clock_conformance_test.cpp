// Local time of a Unix time and the user's locale date and time forms. The
// simulated machine has the defaults (UTC, English (United States)); Wine's
// zone and locale are the host's, so there the shape is asserted.

#include "platform/tests/conformance/conformance_test.h"

namespace kavlo::platform::conformance {
namespace {

constexpr std::int64_t kMay14th2002At081520Utc = 1021364120;

TEST_P(Conformance, LocalTimeOfUnixSeconds) {
    const auto local = machine().LocalTimeOfUnixSeconds(kMay14th2002At081520Utc);
    ASSERT_TRUE(local.ok()) << local.error();
    EXPECT_EQ(local->second, 20);
    EXPECT_EQ(local->year, 2002);
    if (!backend().RunsOnWine()) {
        EXPECT_EQ(local->month, 5);
        EXPECT_EQ(local->day, 14);
        EXPECT_EQ(local->hour, 8);
        EXPECT_EQ(local->minute, 15);
        EXPECT_EQ(local->dayOfWeek, 2);
    }
    EXPECT_EQ(machine().LocalTimeOfUnixSeconds(-1).error(), err::kInvalidParameter);
}

TEST_P(Conformance, LocaleDateAndTimeForms) {
    LocalTime t;
    t.year = 2002, t.month = 5, t.day = 14, t.hour = 20, t.minute = 15, t.second = 36, t.dayOfWeek = 2;
    const auto date = machine().LocaleDateText(t);
    const auto time = machine().LocaleTimeText(t);
    ASSERT_TRUE(date.ok()) << date.error();
    ASSERT_TRUE(time.ok()) << time.error();
    if (backend().RunsOnWine()) {
        EXPECT_NE(date->find("14"), std::string::npos) << *date;
        EXPECT_TRUE(date->find("2002") != std::string::npos || date->find("02") != std::string::npos) << *date;
        EXPECT_NE(time->find("15"), std::string::npos) << *time;
        EXPECT_NE(time->find("36"), std::string::npos) << *time;
    } else {
        EXPECT_EQ(*date, "5/14/2002");
        EXPECT_EQ(*time, "8:15:36 PM");
    }
}

}  // namespace
}  // namespace kavlo::platform::conformance
