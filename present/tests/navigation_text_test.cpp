#include "present/navigation_text.h"

#include <gtest/gtest.h>

namespace kavlo::ui {
namespace {

TEST(ViewForKind, ExactKinds) {
    EXPECT_EQ(ViewForKind("text"), ViewKind::Text);
    EXPECT_EQ(ViewForKind("filelist"), ViewKind::List);
    EXPECT_EQ(ViewForKind("col"), ViewKind::List);
    EXPECT_EQ(ViewForKind("tree"), ViewKind::Tree);
    EXPECT_EQ(ViewForKind("treexp"), ViewKind::ExpTree);
    EXPECT_EQ(ViewForKind("treexptxt"), ViewKind::ExpTreeText);
    EXPECT_FALSE(ViewForKind("info").has_value());
    EXPECT_FALSE(ViewForKind("texts").has_value());
    EXPECT_FALSE(ViewForKind("").has_value());
    EXPECT_EQ(static_cast<int>(ViewKind::ExpTreeText), 6);
}

TEST(ScriptInfoPage, VersionAndEngineFromTwoDigitHalves) {
    EXPECT_EQ(ScriptInfoPage("0105", "03/14/2001", "0106"),
              "DBG File Info:\n\n  Version: 1.5\n  Date: 03/14/2001\n  Engine: 1.6\n");
    EXPECT_EQ(ScriptInfoPage("", "", ""), "DBG File Info:\n\n  Version: 0.0\n  Date: \n  Engine: 0.0\n");
    EXPECT_EQ(ScriptInfoPage("5", "d", "1"), "DBG File Info:\n\n  Version: 5.5\n  Date: d\n  Engine: 1.1\n");
}

TEST(FileStatusText, NameAfterLastBackslash) {
    EXPECT_EQ(FileStatusText("C:\\My Reports\\x.IFO"), "File: x.IFO");
    EXPECT_EQ(FileStatusText("x.IFO"), "File: x.IFO");
    EXPECT_EQ(FileStatusText("\\x.IFO"), "File: \\x.IFO");
}

TEST(ToClipboardText, EveryLineEndBecomesCrLf) {
    EXPECT_EQ(ToClipboardText("a\nb"), "a\r\nb");
    EXPECT_EQ(ToClipboardText("a\r\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(ToClipboardText("a\rb"), "a\r\nb");
    EXPECT_EQ(ToClipboardText("\n\n"), "\r\n\r\n");
    EXPECT_EQ(ToClipboardText(""), "");
}

TEST(ReportFilter, PatternsAndMatching) {
    EXPECT_EQ(FilterPatterns(".gz;.ifo"), "*.gz;*.ifo");
    EXPECT_EQ(FilterPatterns(".ifo"), "*.ifo");
    EXPECT_TRUE(MatchesReportType("C:\\x\\R.IFO", ".gz;.ifo"));
    EXPECT_TRUE(MatchesReportType("C:\\x\\R.IFO.GZ", ".gz;.ifo"));
    EXPECT_FALSE(MatchesReportType("C:\\x.gz\\R", ".gz;.ifo"));
    EXPECT_FALSE(MatchesReportType("R.ifox", ".gz;.ifo"));
}

}  // namespace
}  // namespace kavlo::ui
