// The decoding of the antivirus product's log records, field by field.
#include <gtest/gtest.h>

#include "probes/antivirus/log_lines.h"

namespace kavlo {
namespace {

TEST(LogDateText, DecodesTwelveUpperCaseHexDigits) {
    const struct {
        std::string_view field, text;
    } cases[] = {
        {"1F0A0E0D2A05", "11/14/2001  1:42:05 pm"},
        {"1F000E002A05", "01/14/2001  0:42:05 am"},  // midnight stays 0
        {"1F050E0C0000", "06/14/2001  12:00:00 pm"},
        {"1FF00E0C0000", "01/14/2001  12:00:00 pm"},  // digit 2 is not read
        {"1f0a0e0d2a05", ""},                         // lower case is no date
        {"1F0A0E0D2A0", ""},
        {"1F0A0E0D2A05 ", ""},
        {"1F0A0E182A05", ""},  // hour 24
        {"1F0C0E0D2A05", ""},  // month 13
        {"1F0A000D2A05", ""},  // day 0
    };
    for (const auto& c : cases) EXPECT_EQ(LogDateText(c.field), c.text) << c.field;
}

// The simulated machine's logs show rows of known codes.
TEST(VirusLogRow, PathWithoutFolderAndUnknownCodes) {
    // A path without "\" is shown whole in angle brackets and has no folder;
    // unknown codes show the field in angle brackets.
    EXPECT_EQ(*VirusLogRow("1F0A0E0D2A05,5,0,131173,PC1,ann,Boot.X,A:,7,x,9,1"),
              "11/14/2001  1:42:05 pm,<A:>,Boot.X,Boot Sector,<9>,PC1,ann,,<9>,<9>,<7>,<x>,Realtime scan\n");
}

TEST(VirusLogRow, ShortAndForeignLinesAreSafe) {
    EXPECT_FALSE(VirusLogRow("1F0A0E0D2A05,7,0,2"));
    EXPECT_FALSE(VirusLogRow("1F0A0E0D2A05,5x"));
    EXPECT_FALSE(VirusLogRow(""));
    // Every field past the second is the type field itself; no date, no folder.
    EXPECT_EQ(*VirusLogRow("zz,5"),
              ",<5>,5,<5>,Cleaned,5,5,,Cleaned,,Clean virus from file,Clean virus from file,<5>\n");
}

TEST(EventLogRow, KnownTypesOnly) {
    EXPECT_EQ(*EventLogRow("1F0A0E0D2A05,18,0,6619237,PC1,ann"),
              "11/14/2001  1:42:05 pm,Sent to Quarantine Server,PC1,ann,Client,ann\n");
    EXPECT_FALSE(EventLogRow("1F0A0E0D2A05,5,0,8,PC1"));
    EXPECT_FALSE(EventLogRow("1F0A0E0D2A05,-7,0,8,PC1"));
}

}  // namespace
}  // namespace kavlo
