// The security commands against the computer the tests run on (Windows builds
// only, run under Wine here). Wine 8 grants every access check, lets
// GetEffectiveRightsFromAcl grant everything and has no privilege display
// names, so these tests check shapes; the simulated machine checks values.

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/security/security_descriptor.h"
#include "platform/win32/win32_machine.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo::probe_test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

class RealSecurityProbes : public ::testing::Test {
protected:
    RealSecurityProbes() {
        char temp[MAX_PATH + 1] = {};
        const DWORD length = ::GetTempPathA(sizeof temp, temp);
        folder = std::string(temp, length < sizeof temp ? length : 0) + "KavloSecurityProbes-" +
                 std::to_string(::GetCurrentProcessId());
        fs::create_directories(fs::path(folder) / "sub");
        std::ofstream(folder + "\\a.txt") << "a";
    }
    ~RealSecurityProbes() override {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    TitleRecord& Run(std::string_view kind, std::string_view line) { return lines.Run(kind, line); }

    std::unique_ptr<platform::Machine> machine = platform::win32::MakeWin32Machine();
    LineRunner lines{*machine};
    std::string folder;
};

// An entry line: account (or its SID when Wine cannot name it), the entry
// words, the six rights letters.
const char* const kEntryLine =
    "[^\n]* (allowed|denied|audit generated when access) rights: [+-]R[+-]W[+-]X[+-]D[+-]P[+-]O\n";

TEST_F(RealSecurityProbes, LogonInfoNamesTheTokenUser) {
    const std::string text = Run("text", "LogonInfo:").text;
    EXPECT_TRUE(Matches(text,
                        "Username: [^\n]+\nSID: S-1-5-[-0-9]+\nDomain name: [^\n]*\n"
                        "Authentication server: [^\n]*\nMember of global groups: [^\n]*\n"
                        "Member of local groups: [^\n]*\n"))
        << text;
    EXPECT_FALSE(lines.context.logon.userName.empty());
}

TEST_F(RealSecurityProbes, PrivilegesOfTheProcessToken) {
    const ResultNode& root = Run("tree", "TMyPrivilage:").Root();
    ASSERT_EQ(root.children().size(), 3u);
    EXPECT_FALSE(root.children()[1]->children().empty()) << "every token holds some privilege";
    // The two table names that are no privileges always end the list as errors.
    const auto& disabled = root.children()[2]->children();
    ASSERT_GE(disabled.size(), 2u);
    EXPECT_THAT(disabled[disabled.size() - 2]->title(),
                ::testing::StartsWith("Error looking up privilage SeServiceSid"));
    EXPECT_THAT(disabled.back()->title(), ::testing::StartsWith("Error looking up privilage SeBatchSid"));
}

TEST_F(RealSecurityProbes, FileAccessListsAreEntryLines) {
    auto descriptor = machine->FileSecurity(folder);
    ASSERT_TRUE(descriptor.ok()) << descriptor.error();
    ASSERT_TRUE(platform::ParseSecurityDescriptor(*descriptor).ok());
    const std::string text = Run("text", "ListAllFileRights:" + folder).text;
    // Wine's own entries: any number of entry lines, each followed by an empty line.
    EXPECT_TRUE(Matches(text, std::string("((") + kEntryLine + ")\n)*")) << text;
    const std::string missing = Run("text", "ListAllFileRights:" + folder + "\\none").text;
    EXPECT_THAT(missing, ::testing::StartsWith("Error getting file/directory rights: "));
}

TEST_F(RealSecurityProbes, DirectoryWalkShape) {
    const ResultNode& root = Run("tree", "TDirRightsList:" + folder).Root();
    ASSERT_EQ(root.children().size(), 1u);
    const ResultNode& top = *root.children()[0];
    ASSERT_EQ(top.children().size(), 2u);
    EXPECT_EQ(top.children()[0]->title(), "[D]  sub");
    EXPECT_EQ(top.children()[1]->title(), "Rights");
    for (const auto& entry : top.children()[1]->children())
        EXPECT_TRUE(Matches(entry->title(), kEntryLine)) << entry->title();
}

TEST_F(RealSecurityProbes, KeyPermissionsEndWithTheUsersEffectiveRights) {
    const ResultNode& root = Run("tree", "TERKeyPermList:HKLM\\Software\\Microsoft\\Ole").Root();
    ASSERT_EQ(root.children().size(), 1u);
    const ResultNode& key = *root.children()[0];
    const ResultNode& permissions = *key.children().back();
    EXPECT_EQ(permissions.title(), "[D]  Permissions");
    ASSERT_FALSE(permissions.children().empty());
    const ResultNode& effective = *permissions.children().back();
    EXPECT_THAT(effective.title(), ::testing::StartsWith("[D] Effective -"));
    ASSERT_EQ(effective.children().size(), 11u);
    EXPECT_TRUE(Matches(effective.children()[0]->title(), "Permission,(Full Control|Read|Special)"))
        << effective.children()[0]->title();
    EXPECT_TRUE(Matches(effective.children()[1]->title(), "Query Value,(Allow|Deny)"))
        << effective.children()[1]->title();
}

TEST_F(RealSecurityProbes, DcomDefaultsShape) {
    const ResultNode& root = Run("tree", "TEDcomCnfg:").Root();
    ASSERT_EQ(root.children().size(), 1u);
    const ResultNode& top = *root.children()[0];
    ASSERT_EQ(top.children().size(), 3u);
    for (int i = 0; i < 2; ++i)
        for (const auto& item : top.children()[i]->children())
            EXPECT_TRUE(Matches(item->title(), "Error,.*|.*, (Allow|Deny) (Launch|Access)")) << item->title();
}

}  // namespace
}  // namespace kavlo::probe_test
