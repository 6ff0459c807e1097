#include "engine/path_tokens.h"

#include <gtest/gtest.h>

#include "engine/testing/fake_machine.h"

namespace kavlo {
namespace {

using platform::RegRoot;

class PathTokens : public ::testing::Test {
protected:
    PathTokens() {
        machine.SetShellFolder(26, "C:\\Documents and Settings\\u\\Application Data");
        context.val1.SetString("D:\\Acme");
        context.vars2.SetString("Acme");
    }
    testing::FakeMachine machine;
    AppContext context{machine, OsInfo{"NT5.0", "", 50, true}, "C:\\"};
};

struct TokenCase {
    const char* in;
    const char* out;
};

class ExpandPathTokenCases : public PathTokens, public ::testing::WithParamInterface<TokenCase> {};

TEST_P(ExpandPathTokenCases, ExpandsTheFirstTokenAsAPrefix) {
    machine.SetString(RegRoot::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir",
                      "C:\\Program Files\\Common Files");
    EXPECT_EQ(ExpandPathToken(context, GetParam().in), GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, ExpandPathTokenCases,
    // What most tokens stand for is shown by the sample machine's report (scripts/tests);
    // these rows are about where tokens are expanded and where not, and what it cannot show.
    ::testing::Values(TokenCase{"x<WINDOWS>y", "C:\\WINNTxy"}, TokenCase{"<WINDOWS>a<WINDOWS>", "C:\\WINNTa"},
                      TokenCase{"<SYSTEM32>\\a<WINDOWS>", "C:\\WINNT\\system32\\a<WINDOWS>"},
                      TokenCase{"<COMMONDIR>\\x.dll", "C:\\Program Files\\Common Files\\x.dll"},
                      TokenCase{"<OSDRIVE>\\boot.ini", "C:\\boot.ini"},  // the report reads the same with "C:\\"
                      TokenCase{"<CSIDL_APPDATA>\\x", "C:\\Documents and Settings\\u\\Application Data\\x"},
                      TokenCase{"<VAL1><CSIDL_APPDATA>", "D:\\Acme<CSIDL_APPDATA>"},
                      TokenCase{"<windows>\\x", "<windows>\\x"}, TokenCase{"plain\\path", "plain\\path"}));

TEST_F(PathTokens, MissingCommonFilesDirReadsNotPresent) {
    EXPECT_EQ(ExpandPathToken(context, "<COMMONDIR>\\x.dll"), "Not Present\\x.dll");
}

TEST_F(PathTokens, FolderTokensThatCannotBeResolvedStay) {
    EXPECT_EQ(ExpandFolderToken(context, "<CSIDL_DRIVES>\\x"), "<CSIDL_DRIVES>\\x");  // virtual folder
    EXPECT_EQ(ExpandFolderToken(context, "<CSIDL_NOSUCH>\\x"), "<CSIDL_NOSUCH>\\x");  // unknown name
    EXPECT_EQ(ExpandFolderToken(context, "<CSIDL_APPDATA\\x"), "<CSIDL_APPDATA\\x");  // no ">"
    EXPECT_EQ(ExpandFolderToken(context, "no token"), "no token");
    EXPECT_EQ(ExpandFolderToken(context, "<CSIDL_APPDATA>;<CSIDL_APPDATA>"),
              "C:\\Documents and Settings\\u\\Application Data;C:\\Documents and Settings\\u\\Application Data");
}

TEST_F(PathTokens, SubstituteVars) {
    EXPECT_EQ(SubstituteVars(context, "HKLM\\Software\\<VARS2>\\Path"), "HKLM\\Software\\Acme\\Path");
    EXPECT_EQ(SubstituteVars(context, "<CLB>x<CRB><CLB>"), "{x}{");
    EXPECT_EQ(SubstituteVars(context, "<VARS2><VARS2>"), "AcmeAcme");
    context.vars2.SetString("<CLB>");
    EXPECT_EQ(SubstituteVars(context, "<VARS2>"), "{");  // braces are replaced after the variable
}

}  // namespace
}  // namespace kavlo
