#include "present/timed_mode.h"

#include <gtest/gtest.h>

namespace kavlo::ui {
namespace {

TEST(TimedSettings, MinutesAndDirectory) {
    const auto s = ParseTimedSettings({"min:30", "dir:D:\\Reports"}, "C:\\");
    EXPECT_TRUE(s.timed);
    EXPECT_TRUE(s.error.empty());
    EXPECT_EQ(s.interval, 30u);
    EXPECT_TRUE(s.minutes);
    EXPECT_EQ(s.directory, "D:\\Reports");
    EXPECT_EQ(s.PeriodMs(), 30u * 60000u);
    EXPECT_EQ(IntervalText(s), "30 minutes");
}

TEST(TimedSettings, HoursAloneUseTheWindowsDriveRoot) {
    const auto s = ParseTimedSettings({"hour:2"}, "C:\\");
    EXPECT_TRUE(s.timed);
    EXPECT_FALSE(s.minutes);
    EXPECT_EQ(s.interval, 2u);
    EXPECT_EQ(s.directory, "C:\\");
    EXPECT_EQ(s.PeriodMs(), 7200000u);
    EXPECT_EQ(IntervalText(s), "2 hours");
}

TEST(TimedSettings, OtherParametersAreIgnored) {
    const auto s = ParseTimedSettings({"Automation", "report.IFO", "dir:E:\\x"}, "C:\\");
    EXPECT_FALSE(s.timed);
    EXPECT_EQ(s.directory, "E:\\x");
    EXPECT_TRUE(s.error.empty());
}

TEST(TimedSettings, LeadingDigitsOnly) {
    const auto s = ParseTimedSettings({"min:15x"}, "C:\\");
    EXPECT_EQ(s.interval, 15u);
    EXPECT_TRUE(s.error.empty());
}

struct RefusedCase {
    const char* parameter;
    const char* message;
};

TEST(TimedSettings, RefusesZeroAndOverflowingIntervals) {
    const RefusedCase cases[] = {
        {"min:", "The parameter \"min:\" needs an interval of 1 to 71582 minutes."},
        {"min:0", "The parameter \"min:0\" needs an interval of 1 to 71582 minutes."},
        {"min:71583", "The parameter \"min:71583\" needs an interval of 1 to 71582 minutes."},
        {"hour:1194", "The parameter \"hour:1194\" needs an interval of 1 to 1193 hours."},
        {"hour:abc", "The parameter \"hour:abc\" needs an interval of 1 to 1193 hours."},
        {"hour:99999999999999999999999",
         "The parameter \"hour:99999999999999999999999\" needs an interval of 1 to 1193 hours."},
    };
    for (const auto& c : cases) {
        const auto s = ParseTimedSettings({c.parameter}, "C:\\");
        EXPECT_TRUE(s.timed) << c.parameter;
        EXPECT_EQ(s.error, c.message);
    }
}

TEST(TimedSettings, LargestIntervalsFitThirtyTwoBits) {
    const auto hours = ParseTimedSettings({"hour:1193"}, "C:\\");
    EXPECT_TRUE(hours.error.empty());
    EXPECT_EQ(hours.PeriodMs(), 1193u * 3600000u);
    const auto minutes = ParseTimedSettings({"min:71582"}, "C:\\");
    EXPECT_TRUE(minutes.error.empty());
    EXPECT_EQ(static_cast<std::uint64_t>(minutes.PeriodMs()), 71582ull * 60000ull);
}

TEST(SplitCommandLine, StripsSwitchesAndHonoursQuotes) {
    const auto p = SplitCommandLine("/min:30  -dir:\"D:\\My Reports\" plain \"a\\\"b\" c\\\\d");
    const std::vector<std::string> expected = {"min:30", "dir:D:\\My Reports", "plain", "a\"b", "c\\\\d"};
    EXPECT_EQ(p, expected);
    EXPECT_TRUE(SplitCommandLine("   ").empty());
    EXPECT_EQ(SplitCommandLine("/Embedding"), std::vector<std::string>{"Embedding"});
}

}  // namespace
}  // namespace kavlo::ui
