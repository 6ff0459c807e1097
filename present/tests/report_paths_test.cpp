#include "present/report_paths.h"

#include <gtest/gtest.h>

namespace kavlo::ui {
namespace {

platform::LocalTime At(int year, int month, int day, int hour, int minute) {
    platform::LocalTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    return t;
}

TEST(ProposedReportPath, RootOfWindowsDriveNameAndTime) {
    EXPECT_EQ(ProposedReportPath("C:\\WINNT", "OFFICE7", At(2001, 3, 14, 21, 5)),
              "C:\\OFFICE7__03_14_2001__09_05_PM.IFO");
    EXPECT_EQ(ProposedReportPath("D:\\WINDOWS", "PC1", At(1999, 12, 31, 0, 0)), "D:\\PC1__12_31_1999__12_00_AM.IFO");
    EXPECT_EQ(ProposedReportPath("D:\\WINDOWS", "PC1", At(2000, 1, 2, 12, 30)), "D:\\PC1__01_02_2000__12_30_PM.IFO");
}

TEST(ProposedReportPath, ShortWindowsDirectoryIsTakenWhole) {
    EXPECT_EQ(WindowsDriveRoot("C:"), "C:");
    EXPECT_EQ(WindowsDriveRoot(""), "");
}

struct TimedPathCase {
    const char* directory;
    const char* expected;
};

TEST(TimedReportPath, SeparatorOnlyAfterLongerDirectories) {
    const TimedPathCase cases[] = {
        {"D:\\Reports", "D:\\Reports\\OFFICE7 03_14_2001 09_05_PM.IFO"},
        {"C:\\", "C:\\OFFICE7 03_14_2001 09_05_PM.IFO"},
        {"C:\\ab", "C:\\ab\\OFFICE7 03_14_2001 09_05_PM.IFO"},
        {"C:", "C:OFFICE7 03_14_2001 09_05_PM.IFO"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TimedReportPath(c.directory, "OFFICE7 03_14_2001 09_05_PM.IFO"), c.expected) << c.directory;
    }
}

TEST(FinishMessage, NamesGzOnlyWhenCompressed) {
    EXPECT_EQ(FinishMessage("C:\\A.IFO", {true, true}),
              "Please send the file C:\\A.IFO.gz to Quorvane's technical support for analysis.");
    const std::string plain = FinishMessage("C:\\A.IFO", {true, false});
    EXPECT_EQ(plain.find(".gz"), std::string::npos);
    EXPECT_NE(plain.find("could not be compressed"), std::string::npos);
    EXPECT_NE(plain.find("Please send the file C:\\A.IFO to"), std::string::npos);
    const std::string failed = FinishMessage("C:\\A.IFO", {false, false});
    EXPECT_NE(failed.find("could not be saved"), std::string::npos);
    EXPECT_EQ(failed.find("Please send"), std::string::npos);
}

}  // namespace
}  // namespace kavlo::ui
