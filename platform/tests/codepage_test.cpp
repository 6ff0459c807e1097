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

// Best fits of Latin letters and a surrogate pair are also read back from the
// registry (registry_answers_conformance_test.cpp).
TEST(Codepage, Utf16ToAnsiTakesTheBestFitOrAQuestionMarkPerUnit) {
    EXPECT_EQ(Utf16ToAnsi(u"\u221E \uFF21 \u2013"), "8 A \x96");  // infinity, fullwidth A, en dash
    EXPECT_EQ(Utf16ToAnsi(u"A\u20AC\u4E2D"), "A\x80?");           // no best fit for CJK
    EXPECT_EQ(Utf16ToAnsi(u"\u0101\u4E2D", 1250), "??");          // other code pages: Latin-1
}

TEST(Codepage, Utf8AndUtf16ConvertWithoutLoss) {
    const std::u16string text = u"\u4E00\u4E8C x\U0001F600";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(u"\xD800z"), "\xEF\xBF\xBDz");  // an unpaired surrogate
}

TEST(Codepage, MalformedUtf8BecomesQuestionMarks) {
    EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");
    EXPECT_EQ(Utf8ToAnsi("\x80z"), "?z");
    EXPECT_EQ(Utf8ToAnsi("\xC0\xAF\xED\xA0\x80"), "?????");  // an overlong "/" and an encoded surrogate
}

}  // namespace
}  // namespace kavlo
