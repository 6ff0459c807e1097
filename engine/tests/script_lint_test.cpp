// The script checker speaks up on the mistakes it is meant to catch, and is
// silent on a clean script.
#include "engine/script_lint.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kavlo {
namespace {

using ::testing::HasSubstr;

// The checker is only worth its silence on the bundled scripts (the test
// lint_bundled_scripts, which also keeps it from speaking up on sound lines) if
// it speaks up on the mistakes it is meant to catch.
struct LintCase {
    const char* name;
    std::vector<std::string> body;  ///< lines of the one title's body
    const char* expected;           ///< part of the problem text
};

class LintCatches : public ::testing::TestWithParam<LintCase> {};

std::vector<std::string> OneTitleScript(const std::vector<std::string>& body, const char* kind = "text") {
    std::vector<std::string> lines = {
        "ENGINE:0106", "VERSION:0100", "DATE:05/14/2002", "[TITLE LIST] {", "T", "}", "[TITLE] {", "T", kind};
    lines.insert(lines.end(), body.begin(), body.end());
    lines.push_back("}");
    return lines;
}

TEST_P(LintCatches, Mistake) {
    const LintCase& c = GetParam();
    EXPECT_THAT(Describe(LintScript("t.dbg", OneTitleScript(c.body), CommandTable())), HasSubstr(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LintCatches,
    ::testing::Values(
        LintCase{"ClosingBraceWithCommand", {"IF VARI1,==,1 {", "} Text:a"}, "never executed"},
        LintCase{"UnknownCommand", {"Rval:HKLM\\a\\b"}, "not a command"},
        LintCase{"NotEqualOperator", {"IF VARI1,!=,1 {", "Text:a", "}"}, "reads differently"},
        LintCase{"IfWithoutBrace", {"IF VARI1,==,1"}, "opens a block"},
        LintCase{"ShadowedMapping", {"RVAL:HKLM\\a\\b {", "10=Ten", "1=One", "}"}, "caught by an earlier line"},
        LintCase{"NotPresentWithMapping", {"RVAL:HKLM\\a\\b {", "RNOTPRESENT:none", "1=One", "}"}, "keep it alone"},
        LintCase{"LineAfterDefault", {"RVAL:HKLM\\a\\b {", "*=Other", "1=One", "}"}, "never reached"},
        LintCase{"BadNumberMap", {"TIRTextValue:HKLM\\a\\b,,x,,P: {", "one:One", "}"}, "a number"},
        LintCase{"BraceInComment", {"// a { in a comment"}, "brace in a comment"},
        LintCase{"HeaderKeywordInBody", {"Text:VERSION: 2"}, "catalog reads"},
        LintCase{"UnknownSystem", {"[OS:Win2000] {", "Text:a", "}"}, "unknown system"},
        LintCase{"BlockOnPlainCommand", {"Text:a {", "}"}, "does not open a block"},
        LintCase{"TifOffset", {"TIFCheck:<WINDOWS>\\a,BYTE,ChkBox,1,Item,x,"}, "byte offset"},
        LintCase{"UnclosedBlock", {"IF VARI1,==,1 {", "Text:a"}, "not closed"},
        LintCase{"UnclosedValueMap",
                 {"IF VARI1,==,1 {", "TIRTextValue:HKLM\\a\\b,,x,,P: {", "1:One"},
                 "opened here is not closed"}),
    [](const ::testing::TestParamInfo<LintCase>& info) { return std::string(info.param.name); });

TEST(LintCatches, TitleStructure) {
    const std::vector<std::string> unlisted = {
        "ENGINE:0106", "VERSION:0100", "DATE:05/14/2002", "[TITLE LIST] {", "A", "}", "[TITLE] {", "B", "text", "}"};
    const std::string found = Describe(LintScript("t.dbg", unlisted, CommandTable()));
    EXPECT_THAT(found, HasSubstr("not listed: B"));
    EXPECT_THAT(found, HasSubstr("\"A\" has no body"));

    const std::vector<std::string> badList = {"ENGINE:0106", "VERSION:0100",     "DATE:05/14/2002", "[TITLE] {",
                                              "T",           "col,Name,10,Size", "INT,INT",         "}"};
    const std::string listProblems = Describe(LintScript("t.dbg", badList, CommandTable()));
    EXPECT_THAT(listProblems, HasSubstr("pairs"));
    EXPECT_THAT(listProblems, HasSubstr("one sort type per column"));
}

TEST(LintCatches, ConfigurationMistakes) {
    const std::vector<std::string> config = {"// [ALL] in a comment", "[ALL] {", "System.dbg", "}", "[CHECK] {",
                                             "Product.dbg {",         "Text:x",  "}",          "}", "stray"};
    const std::string found = Describe(LintConfiguration("DBGList.cfg", config, CommandTable()));
    EXPECT_THAT(found, HasSubstr(":1: the catalog reads"));
    EXPECT_THAT(found, HasSubstr(":7: a check entry tests"));
    EXPECT_THAT(found, HasSubstr(":10: stray line"));
}

}  // namespace
}  // namespace kavlo
