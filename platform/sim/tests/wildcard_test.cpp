// FindFirstFile pattern rules, including the DOS forms ("*.*", "*.", "?" at a dot).
#include <gtest/gtest.h>

#include "platform/sim/short_names.h"
#include "platform/sim/wildcard.h"

namespace kavlo::platform::sim {
namespace {

struct PatternCase {
    const char* pattern;
    const char* name;
    bool matches;
};

class PatternTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternTest, MatchesAsWindows) {
    const PatternCase& c = GetParam();
    EXPECT_EQ(MatchesPattern(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
}

INSTANTIATE_TEST_SUITE_P(Star, PatternTest,
                         ::testing::Values(PatternCase{"*", "kernel32.dll", true}, PatternCase{"*", "README", true},
                                           PatternCase{"*", ".", true}, PatternCase{"*", "..", true},
                                           PatternCase{"*.*", "README", true},  // no dot needed
                                           PatternCase{"*.*", "a.b.c", true}, PatternCase{"*.*", ".", true},
                                           PatternCase{"*.dll", "KERNEL32.DLL", true},  // case-insensitive
                                           PatternCase{"*.dll", "kernel32.dll.bak", false},
                                           PatternCase{"*.dll", "a.b.dll", true}, PatternCase{"*.dll", ".", false},
                                           PatternCase{"k*32.dll", "kernel32.dll", true},
                                           PatternCase{"k*32.dll", "kernel64.dll", false},
                                           PatternCase{"*32*", "user32.dll", true},
                                           PatternCase{"*.", "README", true},  // names without an extension
                                           PatternCase{"*.", "readme.txt", false}, PatternCase{"*.l*", "a.log", true},
                                           PatternCase{"*.l*", "a.txt", false}));

INSTANTIATE_TEST_SUITE_P(Question, PatternTest,
                         ::testing::Values(PatternCase{"?", "a", true}, PatternCase{"?", "ab", false},
                                           PatternCase{"??", "a", true},          // "?" at the end may match nothing
                                           PatternCase{"a?.txt", "a.txt", true},  // ... and before a dot
                                           PatternCase{"a?.txt", "ab.txt", true},
                                           PatternCase{"a?.txt", "abc.txt", false},
                                           PatternCase{"a?b", "a.b", false},  // "?" does not match the dot itself
                                           PatternCase{"file?.log", "FILE1.LOG", true},
                                           PatternCase{"*.??", "x.c", true}, PatternCase{"*.??", "x.cpp", false}));

INSTANTIATE_TEST_SUITE_P(
    Literal, PatternTest,
    ::testing::Values(PatternCase{"win.ini", "WIN.INI", true}, PatternCase{"win.ini", "win.ini2", false},
                      PatternCase{"win.ini", "win", false}, PatternCase{"a.b", "a.b", true},
                      PatternCase{"\xE9t\xE9.txt", "\xC9T\xC9.TXT", true},  // cp1252 letters fold too
                      PatternCase{"", "", true}, PatternCase{"", "a", false}));

TEST(Wildcards, Detects) {
    EXPECT_TRUE(HasWildcards("*.dll"));
    EXPECT_TRUE(HasWildcards("a?"));
    EXPECT_FALSE(HasWildcards("kernel32.dll"));
}

TEST(ShortNames, WhichNamesAreAlreadyShort) {
    EXPECT_TRUE(IsShortName("KERNEL32.DLL"));
    EXPECT_TRUE(IsShortName("system32"));  // case does not matter
    EXPECT_TRUE(IsShortName("A"));
    EXPECT_TRUE(IsShortName("ABC~1.T_T"));
    EXPECT_FALSE(IsShortName("Program Files"));
    EXPECT_FALSE(IsShortName("toolongname.txt"));
    EXPECT_FALSE(IsShortName("a.html"));
    EXPECT_FALSE(IsShortName("a.b.c"));
    EXPECT_FALSE(IsShortName("a+b.txt"));
    EXPECT_FALSE(IsShortName(".profile"));
    EXPECT_FALSE(IsShortName("name."));
    EXPECT_FALSE(IsShortName("."));
}

TEST(ShortNames, GeneratedAsNtfsDoes) {
    auto fresh = [](std::string_view name) { return ShortNameAllocator().Generate(name); };
    EXPECT_EQ(fresh("Program Files"), "PROGRA~1");
    EXPECT_EQ(fresh("Documents and Settings"), "DOCUME~1");
    EXPECT_EQ(fresh("index.html"), "INDEX~1.HTM");
    EXPECT_EQ(fresh("a+b=c.txt"), "A_B_C~1.TXT");
    EXPECT_EQ(fresh(".htaccess"), "HTACCE~1");
    EXPECT_EQ(fresh("my.long.file.name.text"), "MYLONG~1.TEX");
    EXPECT_EQ(fresh("KERNEL32.DLL"), "");
}

TEST(ShortNames, LowestFreeNumberAroundReservedNames) {
    ShortNameAllocator names;
    names.Reserve("PROGRA~2");
    EXPECT_EQ(names.Generate("Program Files"), "PROGRA~1");
    EXPECT_EQ(names.Generate("Program Data"), "PROGRA~3");  // ~2 is given to another file
    for (int i = 4; i <= 9; ++i) names.Reserve("PROGRA~" + std::to_string(i));
    EXPECT_EQ(names.Generate("Program Group"), "PROGR~10");
    EXPECT_EQ(names.Generate("Program Notes.txt"), "PROGRA~1.TXT");  // another extension counts apart
}

}  // namespace
}  // namespace kavlo::platform::sim
