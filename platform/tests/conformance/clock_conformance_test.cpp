// Local time of a Unix time and the user's locale date and time forms. Wine's
// zone and locale are the host's, so the shape is asserted; the simulated
// machine's exact forms are the event times of scripts/tests/expected/office7.txt.

#include "platform/tests/conformance/conformance_test.h"

namespace kavlo::platform::conformance {
namespace {

constexpr std::int64_t kMay14th2002At081520Utc = 1021364120;

TEST_P(Conformance, LocalTimeOfUnixSeconds) {
    const auto local = machine().LocalTimeOfUnixSeconds(kMay14th2002At081520Utc);
    ASSERT_TRUE(local.ok()) << local.error();
    EXPECT_EQ(local->second, 20);
    EXPECT_EQ(local->year, 2002);
    EXPECT_EQ(machine().LocalTimeOfUnixSeconds(-1).error(), err::kInvalidParameter);
}

TEST_P(Conformance, LocaleDateAndTimeForms) {
    LocalTime t;
    t.year = 2002, t.month = 5, t.day = 14, t.hour = 20, t.minute = 15, t.second = 36, t.dayOfWeek = 2;
    const auto date = machine().LocaleDateText(t);
    const auto time = machine().LocaleTimeText(t);
    ASSERT_TRUE(date.ok()) << date.error();
    ASSERT_TRUE(time.ok()) << time.error();
    EXPECT_NE(date->find("14"), std::string::npos) << *date;
    EXPECT_TRUE(date->find("2002") != std::string::npos || date->find("02") != std::string::npos) << *date;
    EXPECT_NE(time->find("15"), std::string::npos) << *time;
    EXPECT_NE(time->find("36"), std::string::npos) << *time;
}

}  // namespace
}  // namespace kavlo::platform::conformance
