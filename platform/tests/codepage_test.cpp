#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace kavlo {
namespace {

TEST(Codepage, Windows1252HighBytesRoundTrip) {
    const std::string ansi = "Caf\xE9 \x80 \x93quoted\x94 \x81";
    const std::string utf8 = AnsiToUtf8(ansi);
    EXPECT_EQ(utf8, "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cquoted\xE2\x80\x9D \xC2\x81");
    EXPECT_EQ(Utf8ToAnsi(utf8), ansi);
}

TEST(Codepage, Utf16ToAnsiReplacesWhatTheCodePageLacks) {
    EXPECT_EQ(Utf16ToAnsi(u"A\u20AC\u4E2D\U0001F600"), "A\x80??");
}

TEST(Codepage, MalformedUtf8BecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");
    EXPECT_EQ(Utf8ToAnsi("\x80z"), "?z");
}

}  // namespace
}  // namespace kavlo
