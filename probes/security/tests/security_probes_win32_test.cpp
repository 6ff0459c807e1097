// The security commands against the computer the tests run on (Windows builds
// only, run under Wine here). Wine 8 grants every access check, lets
// GetEffectiveRightsFromAcl grant everything and has no privilege display
// names, so these tests check shapes; the simulated machine checks values.

#include <windows.h>

#include <gtest/gtest.h>

#include "platform/security/security_descriptor.h"
#include "platform/win32/win32_machine.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo::probe_test {
namespace {

// A folder with a file and a subfolder, removed afterwards.
class RealSecurityProbes : public ::testing::Test {
protected:
    RealSecurityProbes() {
        temp.Mkdir("sub");
        temp.Write("a.txt", "a");
    }
    TitleRecord& Run(std::string_view kind, std::string_view line) { return lines.Run(kind, line); }

    std::unique_ptr<platform::Machine> machine = platform::win32::MakeWin32Machine();
    LineRunner lines{*machine};
    kavlo::testing::TempFolder temp;
    std::string folder = temp.folder();
};

// An entry line: account (or its SID when Wine cannot name it), the entry
// words, the six rights letters, and the line break its item or row ends with.
const std::string kEntry =
    "[^\n]* (allowed|denied|audit generated when access) rights: [+-]R[+-]W[+-]X[+-]D[+-]P[+-]O\n";
// The items of one account below a key: its summary and the ten rights, or an error.
const std::string kRights =
    "(Error,[^\n]*\n|Permission,(Full Control|Read|Special)\n(      [A-Za-z ]+,(Allow|Deny)\n){10})";

// Each command's whole output (a text, or a tree's outline) by its shape.
struct Shape {
    std::string kind, line, pattern;
};

TEST_F(RealSecurityProbes, OutputShapes) {
    const Shape shapes[] = {
        {"text", "LogonInfo:",
         "Username: [^\n]+\nSID: S-1-5-[-0-9]+\nDomain name: [^\n]*\nAuthentication server: [^\n]*\n"
         "Member of global groups: [^\n]*\nMember of local groups: [^\n]*\n"},
        // Every token holds some privilege; the two table names that are no
        // privileges always end the list as errors.
        {"tree", "TMyPrivilage:",
         "Current User Privilages:\nEnabled:\n(  [^\n]+\n)+Disabled:\n(  [^\n]+\n)*"
         "  Error looking up privilage SeServiceSid[^\n]*\n  Error looking up privilage SeBatchSid[^\n]*\n"},
        // Wine's own entries: any number of entry lines, each followed by an empty line.
        {"text", "ListAllFileRights:" + folder, "(" + kEntry + "\n)*"},
        {"text", "ListAllFileRights:" + folder + "\\none", "Error getting file/directory rights: [^\n]+\n"},
        {"tree", "TDirRightsList:" + folder,
         "[^\n]+\n  \\[D\\]  sub\n(    [^\n]*\n|\n)*  Rights\n(    " + kEntry + "\n)*"},
        // The accounts of the key's list, then the user's effective rights.
        {"tree", "TERKeyPermList:HKLM\\Software\\Microsoft\\Ole",
         "\\[D\\]  HKLM\\\\Software\\\\Microsoft\\\\Ole\n(  [^\n]*\n)*  \\[D\\]  Permissions\n"
         "(    \\[D\\] [^\n]+\n      " +
             kRights + ")*    \\[D\\] Effective -[^\n]+\n      " + kRights},
        {"tree", "TEDcomCnfg:",
         "\\[D\\] DCOM Default Security\n  \\[D\\] Default Launch Permission\n(    (Error,[^\n]*|[^\n]*, (Allow|Deny) "
         "Launch)\n)*"
         "  \\[D\\] Default Access Permission\n(    (Error,[^\n]*|[^\n]*, (Allow|Deny) Access)\n)*"
         "  \\[D\\] Default Configurations Permission\n(    [^\n]*\n)*"},
    };
    for (const Shape& shape : shapes) {
        TitleRecord& title = Run(shape.kind, shape.line);
        const std::string output = shape.kind == "tree" ? OutlineBelow(title.Root()) : title.text;
        EXPECT_TRUE(Matches(output, shape.pattern)) << shape.line << ":\n" << output;
    }
    EXPECT_FALSE(lines.context.logon.userName.empty());
    auto descriptor = machine->FileSecurity(folder);
    ASSERT_TRUE(descriptor.ok()) << descriptor.error();
    EXPECT_TRUE(platform::ParseSecurityDescriptor(*descriptor).ok());
}

}  // namespace
}  // namespace kavlo::probe_test
