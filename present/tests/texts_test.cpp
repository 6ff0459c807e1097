// The words and paths the windows show: script pages, file names,
// report paths and messages, the timed mode's parameters, the gathering queue.
#include <gtest/gtest.h>

#include "present/gather_queue.h"
#include "present/navigation_text.h"
#include "present/report_paths.h"
#include "present/timed_mode.h"

namespace kavlo::ui {
namespace {

TEST(NavigationText, ScriptPageFileStatusAndClipboard) {
    EXPECT_EQ(ScriptInfoPage("", "", ""), "DBG File Info:\n\n  Version: 0.0\n  Date: \n  Engine: 0.0\n");
    EXPECT_EQ(ScriptInfoPage("5", "d", "1"), "DBG File Info:\n\n  Version: 5.5\n  Date: d\n  Engine: 1.1\n");
    EXPECT_EQ(FileStatusText("\\x.IFO"), "File: \\x.IFO") << "a root's backslash stays";
    for (const auto& [text, clipboard] :
         {std::pair{"a\nb", "a\r\nb"}, {"a\r\nb\n", "a\r\nb\r\n"}, {"a\rb", "a\r\nb"}, {"\n\n", "\r\n\r\n"}, {"", ""}})
        EXPECT_EQ(ToClipboardText(text), clipboard);
}

TEST(NavigationText, ReportFilterPatternsAndMatching) {
    EXPECT_EQ(FilterPatterns(".gz;.ifo"), "*.gz;*.ifo");
    EXPECT_EQ(FilterPatterns(".ifo"), "*.ifo");
    EXPECT_TRUE(MatchesReportType("C:\\x\\R.IFO", ".gz;.ifo"));
    EXPECT_TRUE(MatchesReportType("C:\\x\\R.IFO.GZ", ".gz;.ifo"));
    EXPECT_FALSE(MatchesReportType("C:\\x.gz\\R", ".gz;.ifo"));
    EXPECT_FALSE(MatchesReportType("R.ifox", ".gz;.ifo"));
}

TEST(ReportPaths, ProposedAndTimedPaths) {
    // On the sample machine's C: drive the wizard test reads the proposed path.
    EXPECT_EQ(ProposedReportPath("D:\\WINDOWS", "PC1", {1999, 12, 31, 0, 0, 0, 5}),
              "D:\\PC1__12_31_1999__12_00_AM.IFO");
    EXPECT_EQ(WindowsDriveRoot("C:"), "C:");
    // A separator only after directories longer than a drive root (the timed-mode UI test writes into one).
    for (const auto& [directory, path] :
         {std::pair{"C:\\", "C:\\R.IFO"}, {"C:\\ab", "C:\\ab\\R.IFO"}, {"C:", "C:R.IFO"}})
        EXPECT_EQ(TimedReportPath(directory, "R.IFO"), path);
}

TEST(ReportPaths, FinishMessageNamesGzOnlyWhenCompressed) {
    // Compressed, the message is the one the wizard test reads on its last page.
    EXPECT_EQ(FinishMessage("C:\\A.IFO", {true, false}),
              "The file C:\\A.IFO could not be compressed. Please send the file C:\\A.IFO to Quorvane's technical "
              "support for analysis.");
    EXPECT_EQ(FinishMessage("C:\\A.IFO", {false, false}),
              "The information could not be saved to the file C:\\A.IFO. No report was written.");
}

TEST(TimedSettings, IntervalsAndDirectory) {
    // "min:30" with a directory is what the timed-mode UI test starts with.
    auto s = ParseTimedSettings({"hour:2"}, "C:\\");  // alone: the Windows drive's root
    EXPECT_TRUE(s.timed && !s.minutes && s.error.empty());
    EXPECT_EQ(s.directory, "C:\\");
    EXPECT_EQ(s.PeriodMs(), 7200000u);
    EXPECT_EQ(IntervalText(s), "2 hours");
    s = ParseTimedSettings({"Automation", "report.IFO", "dir:E:\\x"}, "C:\\");
    EXPECT_FALSE(s.timed);
    EXPECT_EQ(s.directory, "E:\\x");
    EXPECT_EQ(ParseTimedSettings({"min:15x"}, "C:\\").interval, 15u) << "leading digits only";
    // The largest intervals fit 32 bits of milliseconds.
    EXPECT_EQ(ParseTimedSettings({"hour:1193"}, "C:\\").PeriodMs(), 1193u * 3600000u);
    EXPECT_EQ(static_cast<std::uint64_t>(ParseTimedSettings({"min:71582"}, "C:\\").PeriodMs()), 71582ull * 60000ull);
}

TEST(TimedSettings, RefusesZeroAndOverflowingIntervals) {
    for (const char* parameter :
         {"min:", "min:0", "min:71583", "hour:1194", "hour:abc", "hour:99999999999999999999999"}) {
        const auto s = ParseTimedSettings({parameter}, "C:\\");
        EXPECT_TRUE(s.timed) << parameter;
        EXPECT_EQ(s.error, "The parameter \"" + std::string(parameter) + "\" needs an interval of 1 to " +
                               (parameter[0] == 'm' ? "71582 minutes." : "1193 hours."));
    }
}

TEST(SplitCommandLine, StripsSwitchesAndHonoursQuotes) {
    const auto p = SplitCommandLine("/min:30  -dir:\"D:\\My Reports\" plain \"a\\\"b\" c\\\\d");
    EXPECT_EQ(p, (std::vector<std::string>{"min:30", "dir:D:\\My Reports", "plain", "a\"b", "c\\\\d"}));
    EXPECT_TRUE(SplitCommandLine("   ").empty());
    EXPECT_EQ(SplitCommandLine("/Embedding"), std::vector<std::string>{"Embedding"});
}

TEST(GatherQueue, OneAtATimeLatestWaitingWinsAndDroppedDoesNotStart) {
    GatherQueue<int> queue;
    EXPECT_TRUE(queue.Submit(1));
    EXPECT_FALSE(queue.Submit(2));
    EXPECT_FALSE(queue.Submit(3));
    EXPECT_EQ(queue.Finish(), std::optional<int>(3));
    EXPECT_TRUE(queue.running());
    EXPECT_FALSE(queue.Finish().has_value());
    EXPECT_FALSE(queue.running());
    EXPECT_TRUE(queue.Submit(4));
    queue.Submit(5);
    queue.DropWaiting();
    EXPECT_FALSE(queue.Finish().has_value());
    EXPECT_FALSE(queue.running());
}

}  // namespace
}  // namespace kavlo::ui
