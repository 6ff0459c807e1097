// The security commands on a small simulated machine (tests/data/machine):
// exact texts and trees, dispatched as script lines with the standard table.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "probes/security/security_texts.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using testing::Child;

class SecurityProbes : public ::testing::Test {
protected:
    probe_test::MachineFolder folder{"probes/security/tests/data/machine"};
    probe_test::LineRunner lines{folder.machine(), OsInfo{"NT5.0", "Windows 2000", 50, true}};
};

TEST_F(SecurityProbes, LogonInfoRecordsTheUserReplacingEveryField) {
    lines.context.logon = LogonRecord{"old", {"g"}, {"l"}, "srv", "old", "dom", "sid"};
    lines.Run("tree", "LogonInfo:");
    EXPECT_EQ(lines.context.logon.userName, "alice");
    EXPECT_TRUE(lines.context.logon.globalGroups.empty());
    EXPECT_EQ(lines.context.logon.logonDomain, "TESTDOM");
}

TEST(SecurityProbesWithoutPrivileges, OnlyTheErrorItemsAreListed) {
    testing::SimImage image(std::string(kavlo::testing::kMinimalSystem) +
                            "[logon]\nuser = bob\nsid = S-1-5-21-1-2-3-1009\nprivileges =\n");
    const ResultNode& root = image.Run("tree", "TMyPrivilage:").Root();
    EXPECT_TRUE(Child(root, "Enabled:").children().empty());
    EXPECT_THAT(testing::ChildTitles(Child(root, "Disabled:")),
                ElementsAre(HasSubstr("SeServiceSid"), HasSubstr("SeBatchSid")));
}

TEST(FileRightsLine, LettersForEachBit) {
    const std::pair<std::uint32_t, std::string_view> cases[] = {
        {0, "-R-W-X-D-P-O\n"},       {0xD0023, "+R+W+X+D+P+O\n"}, {0x1, "+R-W-X-D-P-O\n"},
        {0x80000, "-R-W-X-D-P+O\n"}, {0x40000, "-R-W-X-D+P-O\n"}, {0x1F01FF, "+R+W+X+D+P+O\n"},
        {0x10, "-R-W-X-D-P-O\n"},
    };
    for (const auto& [rights, line] : cases) {
        std::string out;
        AppendFileRightsLine(rights, out);
        EXPECT_EQ(out, line) << std::hex << rights;
    }
}

// The key listings' expected outputs show each word; these are the edges.
TEST(PermissionSummary, FullControlReadOrSpecial) {
    EXPECT_EQ(PermissionSummary(0xFFFFFFFF), "Full Control");
    EXPECT_EQ(PermissionSummary(0x80020019), "Read");  // bits outside 0xF003F do not count
    EXPECT_EQ(PermissionSummary(0), "Special");
}

TEST_F(SecurityProbes, EffectiveAccessOfTheUserToTheBit) {
    // Users: denied 0x116 first, then FA: everything else of FA. The file below
    // inherits only the deny (the allows carry no inheritance flags).
    EXPECT_EQ(*folder.machine().EffectiveAccess("C:\\App\\Logs"), 0x1F01FFu & ~0x116u);
    EXPECT_EQ(*folder.machine().EffectiveAccess("C:\\App\\Logs\\today.log"), 0u);
    // Owner rights only where nothing is granted but the owner (BA) is not alice.
    EXPECT_EQ(*folder.machine().EffectiveAccess("C:\\Empty\\x.txt"), 0u);
    EXPECT_EQ(*folder.machine().EffectiveAccess("C:\\Open\\x.txt"), 0x1F01FFu);
}

// Whole outputs of the listing commands (texts, or trees' outlines), each in
// tests/expected/NAME.txt.
struct TreeCase {
    std::string_view name, line;
    std::string_view kind = "tree";
};

class SecurityTrees : public SecurityProbes, public ::testing::WithParamInterface<TreeCase> {};

TEST_P(SecurityTrees, WholeTree) {
    const TitleRecord& title = lines.Run(GetParam().kind, GetParam().line);
    probe_test::ExpectSameAsFile(GetParam().kind == "text" ? title.text : probe_test::OutlineBelow(title.Root()),
                                 "probes/security/tests/expected/" + std::string(GetParam().name) + ".txt");
}

INSTANTIATE_TEST_SUITE_P(
    Listings, SecurityTrees,
    ::testing::Values(TreeCase{"logon_info", "LogonInfo:", "text"},
                      // Held privileges by their display names (a name without one as itself),
                      // the others, then the two table names that are no privileges as errors.
                      TreeCase{"privileges", "TMyPrivilage:"},
                      // Explicit entries first, deny first, duplicates kept, then what C:\App passes on.
                      TreeCase{"all_file_rights", "ListAllFileRights:C:\\App\\Logs", "text"},
                      TreeCase{"all_file_rights_fat", "ListAllFileRights:E:\\data.txt", "text"},
                      TreeCase{"all_file_rights_empty", "ListAllFileRights:C:\\Empty", "text"},
                      TreeCase{"all_file_rights_missing", "ListAllFileRights:C:\\Missing", "text"},
                      // Subfolders before the folder's own rights; an empty list gives a "Rights" item without entries.
                      TreeCase{"dir_rights", "TDirRightsList:C:\\App"},
                      TreeCase{"dir_rights_empty", "TDirRightsList:C:\\Empty"},
                      TreeCase{"dir_rights_removable", "TDirRightsList:A:\\x"},
                      TreeCase{"dir_rights_fat", "TDirRightsList:E:\\"},
                      // Each piece of the path, then the matches.
                      TreeCase{"file_chain", "TFilRightsList:C:\\App\\*.exe"},
                      // Rights before subfolders; A: is removable and left out.
                      TreeCase{"drive_walk", "TDrvRightsList:"},
                      // Only HKLM keys are listed.
                      TreeCase{"key_rights", "TRegKeyRightsList:HKLM\\SOFTWARE\\Test"},
                      TreeCase{"key_rights_hkcu", "TRegKeyRightsList:HKCU\\Software"},
                      // One item per account, then the user's effective rights; the listing
                      // collects the logon record itself. Users: Set Value, then Delete denied,
                      // then KR: Read Control but not Delete. alice is in Auditors (full control
                      // before the deny) and Users.
                      TreeCase{"key_permissions", "TERKeyPermList:HKLM\\SOFTWARE\\Test"},
                      TreeCase{"key_permissions_missing", "TERKeyPermList:HKLM\\NoSuchKey"},
                      TreeCase{"key_permissions_labelled", "TERKeyPerm:HKLM\\SOFTWARE\\Test"},
                      // Each account once; a malformed value is an error item.
                      TreeCase{"dcom_defaults", "TEDcomCnfg:"},
                      TreeCase{"app_dcom", "TEAppDcomCnfg:[11111111-2222-3333-4444-555555555555]"},
                      // A script cannot hold a braced line; the dispatcher can.
                      TreeCase{"app_dcom", "TEAppDcomCnfg:{11111111-2222-3333-4444-555555555555}"},
                      TreeCase{"app_dcom_missing", "TEAppDcomCnfg:[00000000-0000-0000-0000-000000000000]"}),
    [](const ::testing::TestParamInfo<TreeCase>& info) {
        return std::string(info.param.name) + (info.param.line.find('{') != std::string_view::npos ? "_braced" : "");
    });

}  // namespace
}  // namespace kavlo
