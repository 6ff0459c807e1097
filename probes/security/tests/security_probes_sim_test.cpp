// The security commands on a small simulated machine (tests/data/machine):
// exact texts and trees, dispatched as script lines with the standard table.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "platform/security/security_descriptor.h"
#include "probes/security/security_texts.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr auto& Titles = testing::ChildTitles;
using testing::Child;

class SecurityProbes : public ::testing::Test {
protected:
    TitleRecord& Run(std::string_view kind, std::string_view line) { return lines.Run(kind, line); }

    probe_test::MachineFolder folder{"probes/security/tests/data/machine"};
    platform::Machine* machine_ = &folder.machine();
    probe_test::LineRunner lines{*machine_, OsInfo{"NT5.0", "Windows 2000", 50, true}};
};

TEST_F(SecurityProbes, LogonInfoWritesAndRecordsTheUser) {
    EXPECT_EQ(Run("text", "LogonInfo:").text,
              "Username: alice\nSID: S-1-5-21-1-2-3-1001\nDomain name: TESTDOM\nAuthentication server: TESTPC\n"
              "Member of global groups: \nMember of local groups: Users, Auditors\n");
    EXPECT_EQ(lines.context.logon.logonServer, "TESTPC");
    EXPECT_THAT(lines.context.logon.localGroups, ElementsAre("Users", "Auditors"));
    // A second run replaces every field.
    lines.context.logon = LogonRecord{"old", {"g"}, {"l"}, "srv", "old", "dom", "sid"};
    Run("tree", "LogonInfo:");
    EXPECT_EQ(lines.context.logon.userName, "alice");
    EXPECT_TRUE(lines.context.logon.globalGroups.empty());
    EXPECT_EQ(lines.context.logon.logonDomain, "TESTDOM");
}

TEST_F(SecurityProbes, PrivilegesHeldAndMissing) {
    const ResultNode& root = Run("tree", "TMyPrivilage:").Root();
    ASSERT_THAT(Titles(root), ElementsAre("Current User Privilages:", "Enabled:", "Disabled:"));
    // A held name without a display name shows as itself.
    EXPECT_THAT(Titles(Child(root, "Enabled:")),
                ElementsAre("Shut down the system", "Bypass traverse checking", "SeNoSuchPrivilege"));
    const std::vector<std::string> disabled = Titles(Child(root, "Disabled:"));
    ASSERT_EQ(disabled.size(), 22u + 2u);
    EXPECT_EQ(disabled.front(), "Create a token object");
    EXPECT_EQ(std::count(disabled.begin(), disabled.end(), "Shut down the system"), 0);
    EXPECT_EQ(disabled[22], "Error looking up privilage SeServiceSidA specified privilege does not exist.");
    EXPECT_EQ(disabled[23], "Error looking up privilage SeBatchSidA specified privilege does not exist.");
}

TEST(SecurityProbesWithoutPrivileges, OnlyTheErrorItemsAreListed) {
    testing::SimImage image(std::string(kavlo::testing::kMinimalSystem) +
                            "[logon]\nuser = bob\nsid = S-1-5-21-1-2-3-1009\nprivileges =\n");
    const ResultNode& root = image.Run("tree", "TMyPrivilage:").Root();
    EXPECT_TRUE(Child(root, "Enabled:").children().empty());
    EXPECT_THAT(Titles(Child(root, "Disabled:")), ElementsAre(HasSubstr("SeServiceSid"), HasSubstr("SeBatchSid")));
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

TEST(PermissionSummary, FullControlReadOrSpecial) {
    EXPECT_EQ(PermissionSummary(0xF003F), "Full Control");
    EXPECT_EQ(PermissionSummary(0xFFFFFFFF), "Full Control");
    EXPECT_EQ(PermissionSummary(0x20019), "Read");
    EXPECT_EQ(PermissionSummary(0x80020019), "Read");  // bits outside 0xF003F do not count
    EXPECT_EQ(PermissionSummary(0x2001B), "Special");
    EXPECT_EQ(PermissionSummary(0), "Special");
}

TEST_F(SecurityProbes, InheritanceFollowsTheFlags) {
    // C:\App: OI|NP reaches files directly below only; CI only folders; IO
    // entries pass on without applying; inherited entries carry ID.
    auto model = [&](std::string_view path) {
        auto bytes = machine_->FileSecurity(path);
        EXPECT_TRUE(bytes.ok()) << path;
        return platform::ParseSecurityDescriptor(*bytes).value();
    };
    using namespace platform::ace_flag;
    const auto exe = model("C:\\App\\app.exe");
    ASSERT_EQ(exe.dacl.size(), 4u);  // SY, BU (OI|NP), CO, BA from C:\ .
    EXPECT_EQ(exe.dacl[1].flags, kInherited);
    EXPECT_EQ(exe.dacl[1].mask, 0x120089u);
    const auto sub = model("C:\\App\\Sub");
    ASSERT_EQ(sub.dacl.size(), 4u);  // SY, Auditors (CI), CO, BA; BU's OI|NP stops here
    EXPECT_EQ(sub.dacl[1].flags, kContainerInherit | kInherited);
    EXPECT_EQ(sub.dacl[2].flags, kObjectInherit | kContainerInherit | kInherited);  // IO cleared on a folder
    const auto readme = model("C:\\App\\Sub\\readme.txt");
    ASSERT_EQ(readme.dacl.size(), 3u);  // Auditors' CI does not reach files
    EXPECT_FALSE(model("C:\\Open\\x.txt").hasDacl);
    EXPECT_TRUE(model("C:\\Empty\\x.txt").dacl.empty());
}

TEST_F(SecurityProbes, EffectiveAccessOfTheUserToTheBit) {
    // Users: denied 0x116 first, then FA: everything else of FA. The file below
    // inherits only the deny (the allows carry no inheritance flags).
    EXPECT_EQ(*machine_->EffectiveAccess("C:\\App\\Logs"), 0x1F01FFu & ~0x116u);
    EXPECT_EQ(*machine_->EffectiveAccess("C:\\App\\Logs\\today.log"), 0u);
    // Owner rights only where nothing is granted but the owner (BA) is not alice.
    EXPECT_EQ(*machine_->EffectiveAccess("C:\\Empty\\x.txt"), 0u);
    EXPECT_EQ(*machine_->EffectiveAccess("C:\\Open\\x.txt"), 0x1F01FFu);
}

// Whole outputs of the listing commands (texts, or trees' outlines), each in
// tests/expected/NAME.txt.
struct TreeCase {
    std::string_view name, line;
    std::string_view kind = "tree";
};

class SecurityTrees : public SecurityProbes, public ::testing::WithParamInterface<TreeCase> {};

TEST_P(SecurityTrees, WholeTree) {
    const TitleRecord& title = Run(GetParam().kind, GetParam().line);
    probe_test::ExpectSameAsFile(GetParam().kind == "text" ? title.text : probe_test::OutlineBelow(title.Root()),
                                 "probes/security/tests/expected/" + std::string(GetParam().name) + ".txt");
}

INSTANTIATE_TEST_SUITE_P(
    Listings, SecurityTrees,
    ::testing::Values(
        // Explicit entries first, deny first, duplicates kept, then what C:\App passes on.
        TreeCase{"all_file_rights", "ListAllFileRights:C:\\App\\Logs", "text"},
        TreeCase{"all_file_rights_fat", "ListAllFileRights:E:\\data.txt", "text"},
        TreeCase{"all_file_rights_empty", "ListAllFileRights:C:\\Empty", "text"},
        TreeCase{"all_file_rights_missing", "ListAllFileRights:C:\\Missing", "text"},
        // Subfolders before the folder's own rights; an empty list gives a "Rights" item without entries.
        TreeCase{"dir_rights", "TDirRightsList:C:\\App"}, TreeCase{"dir_rights_empty", "TDirRightsList:C:\\Empty"},
        TreeCase{"dir_rights_removable", "TDirRightsList:A:\\x"}, TreeCase{"dir_rights_fat", "TDirRightsList:E:\\"},
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

TEST(SecurityProbesWithoutSecurityData, ImagesAnswerNotSupported) {
    probe_test::MachineFolder image("probes/files/tests/data/machine");
    EXPECT_EQ(image.machine().FileSecurity("C:\\").error(), err::kNotSupported);
    EXPECT_EQ(image.machine().LoggedOnUser().error(), err::kNotSupported);
    EXPECT_EQ(image.machine().PrivilegeDisplayName("SeShutdownPrivilege").error(), err::kNotSupported);
}

}  // namespace
}  // namespace kavlo
