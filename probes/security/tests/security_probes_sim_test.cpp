// The security commands on a small simulated machine (tests/data/machine):
// exact texts and trees, dispatched as script lines with the standard table.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/testing/sim_script_run.h"
#include "platform/security/security_descriptor.h"
#include "probes/security/security_texts.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const fs::path kMachine = fs::path(KAVLO_TEST_SOURCE_DIR) / "probes/security/tests/data/machine";

constexpr auto& Titles = testing::ChildTitles;
using testing::Child;

class SecurityProbes : public ::testing::Test {
protected:
    static std::unique_ptr<platform::Machine> Load() {
        auto loaded = platform::sim::LoadMachine(kMachine.string());
        if (!loaded.machine) throw std::runtime_error(loaded.error);
        return std::move(loaded.machine);
    }
    TitleRecord& Run(std::string_view kind, std::string_view line) { return lines.Run(kind, line); }

    std::unique_ptr<platform::Machine> machine_ = Load();
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

TEST_F(SecurityProbes, ListAllFileRightsShowsEveryEntryWithDenyFirst) {
    // Explicit entries first, duplicates kept, then what C:\App passes on.
    EXPECT_EQ(Run("text", "ListAllFileRights:C:\\App\\Logs").text,
              "BUILTIN\\Users denied rights: -R+W-X-D-P-O\n\n"
              "BUILTIN\\Users allowed rights: +R+W+X+D+P+O\n\n"
              "BUILTIN\\Users allowed rights: +R-W-X-D-P-O\n\n"
              "NT AUTHORITY\\SYSTEM allowed rights: +R+W+X+D+P+O\n\n"
              "TESTPC\\Auditors allowed rights: +R-W+X-D-P-O\n\n"
              "\\CREATOR OWNER allowed rights: -R-W-X-D-P-O\n\n"
              "BUILTIN\\Administrators allowed rights: +R+W+X+D+P+O\n\n");
    EXPECT_EQ(Run("text", "ListAllFileRights:E:\\data.txt").text, "No access rights to list as drive is FAT32\n");
    EXPECT_EQ(Run("text", "ListAllFileRights:C:\\Empty").text, "");
    EXPECT_EQ(Run("text", "ListAllFileRights:C:\\Missing").text,
              "Error getting file/directory rights: The system cannot find the file specified.\n");
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

TEST_F(SecurityProbes, DirectoryWalkListsSubfoldersBeforeRights) {
    const ResultNode& root = Run("tree", "TDirRightsList:C:\\App").Root();
    ASSERT_THAT(Titles(root), ElementsAre("C:\\App"));
    const ResultNode& app = *root.children()[0];
    EXPECT_THAT(Titles(app), ElementsAre("[D]  Logs", "[D]  Sub", "Rights"));
    EXPECT_THAT(Titles(Child(Child(app, "[D]  Logs"), "Rights")).front(),
                "BUILTIN\\Users denied rights: -R+W-X-D-P-O\n");
    EXPECT_THAT(Titles(Run("tree", "TDirRightsList:A:\\x").Root()), ElementsAre("A:\\ is not a fixed drive."));
    const ResultNode& fat = *Run("tree", "TDirRightsList:E:\\").Root().children().at(0);
    EXPECT_THAT(Titles(fat), ElementsAre("No access rights to list as drive is FAT32\n"));
    // An empty access list gives a "Rights" item without entries.
    const ResultNode& empty = *Run("tree", "TDirRightsList:C:\\Empty").Root().children().at(0);
    EXPECT_TRUE(Child(empty, "Rights").children().empty());
}

TEST_F(SecurityProbes, FileChainListsEachPieceAndTheMatches) {
    const ResultNode& item = *Run("tree", "TFilRightsList:C:\\App\\*.exe").Root().children().at(0);
    EXPECT_EQ(item.title(), "C:\\App\\*.exe");
    const ResultNode& drive = Child(item, "[D]  C:\\");
    const ResultNode& app = Child(drive, "[D]  App\\");
    EXPECT_THAT(Titles(app), ElementsAre("Rights", "app.exe"));
    EXPECT_THAT(Titles(Child(Child(app, "app.exe"), "Rights")).at(1), "BUILTIN\\Users allowed rights: +R-W-X-D-P-O\n");
}

TEST_F(SecurityProbes, DriveWalkListsRightsBeforeSubfolders) {
    const ResultNode& root = Run("tree", "TDrvRightsList:").Root();
    ASSERT_THAT(Titles(root), ElementsAre("C:\\", "E:\\"));  // A: is removable
    const ResultNode& top = Child(*root.children()[0], "[D]  C:\\");
    EXPECT_THAT(Titles(top), ElementsAre("Rights", "[D]  App", "[D]  Empty", "[D]  Open"));
    EXPECT_THAT(Titles(Child(top, "[D]  App")), ElementsAre("Rights", "[D]  Logs", "[D]  Sub"));
    EXPECT_THAT(Titles(*root.children()[1]), ElementsAre("No access rights to list as drive is FAT32\n"));
}

TEST_F(SecurityProbes, RegKeyRightsListOnlyForHklm) {
    const ResultNode& root = Run("tree", "TRegKeyRightsList:HKLM\\SOFTWARE\\Test").Root();
    ASSERT_THAT(Titles(root), ElementsAre("HKLM\\SOFTWARE\\Test"));
    EXPECT_THAT(Titles(*root.children()[0]), ElementsAre("BUILTIN\\Users allowed rights: -R+W-X-D-P-O\n",
                                                         "TESTPC\\Auditors allowed rights: +R+W+X+D+P+O\n",
                                                         "BUILTIN\\Users denied rights: -R-W-X+D-P-O\n",
                                                         "BUILTIN\\Administrators allowed rights: +R+W+X+D+P+O\n",
                                                         "BUILTIN\\Users allowed rights: +R-W-X-D-P-O\n"));
    EXPECT_TRUE(Child(Run("tree", "TRegKeyRightsList:HKCU\\Software").Root(), "HKCU\\Software").children().empty());
}

TEST_F(SecurityProbes, KeyPermissionsOneItemPerAccountAndTheUsersEffectiveRights) {
    // Nothing recorded yet: the listing collects the logon record itself.
    EXPECT_TRUE(Run("tree", "TERKeyPermList:HKLM\\NoSuchKey").Root().children().empty());
    const ResultNode& root = Run("tree", "TERKeyPermList:HKLM\\SOFTWARE\\Test").Root();
    ASSERT_THAT(Titles(root), ElementsAre("[D]  HKLM\\SOFTWARE\\Test"));
    const ResultNode& key = *root.children()[0];
    EXPECT_THAT(Titles(key), ElementsAre("[D]  Sub", "[D]  Permissions"));
    const ResultNode& permissions = Child(key, "[D]  Permissions");
    EXPECT_THAT(Titles(permissions), ElementsAre("[D] BUILTIN\\Users", "[D] TESTPC\\Auditors",
                                                 "[D] BUILTIN\\Administrators", "[D] Effective -TESTDOM\\alice"));
    // Users: Set Value, then Delete denied, then KR: Read Control but not Delete.
    EXPECT_THAT(Titles(Child(permissions, "[D] BUILTIN\\Users")),
                ElementsAre("Permission,Special", "Query Value,Allow", "Set Value,Allow", "Create Subkey,Deny",
                            "Enumerate Subkeys,Allow", "Notify,Allow", "Create Link,Deny", "Delete,Deny",
                            "Write DAC,Deny", "Write Owner,Deny", "Read Control,Allow"));
    // alice is in Auditors (full control before the deny) and Users.
    EXPECT_THAT(Titles(Child(permissions, "[D] Effective -TESTDOM\\alice")).front(), "Permission,Full Control");
}

TEST_F(SecurityProbes, KeyPermListsTheKeyBeneathItsLabel) {
    const ResultNode& root = Run("tree", "TERKeyPerm:HKLM\\SOFTWARE\\Test").Root();
    const ResultNode& label = Child(root, "[D]  HKLM\\SOFTWARE\\Test");
    EXPECT_THAT(Titles(Child(label, "[D]  Test")), ElementsAre("[D]  Sub", "[D]  Permissions"));
}

TEST_F(SecurityProbes, DcomDefaultsListEachAccountOnceAndMalformedValuesAsErrors) {
    const ResultNode& top = Child(Run("tree", "TEDcomCnfg:").Root(), "[D] DCOM Default Security");
    EXPECT_THAT(Titles(Child(top, "[D] Default Launch Permission")),
                ElementsAre("NT AUTHORITY\\SYSTEM, Allow Launch", "BUILTIN\\Guests, Deny Launch",
                            "NT AUTHORITY\\INTERACTIVE, Allow Launch"));
    EXPECT_THAT(Titles(Child(top, "[D] Default Access Permission")),
                ElementsAre("Error,The security descriptor structure is invalid."));
    const ResultNode& config = Child(Child(top, "[D] Default Configurations Permission"), "[D] HKEY_CLASSES_ROOT");
    EXPECT_THAT(Titles(Child(config, "[D]  Permissions")),
                ElementsAre("[D] NT AUTHORITY\\SYSTEM", "[D] \\Everyone", "[D] Effective -TESTDOM\\alice"));
}

TEST_F(SecurityProbes, AppDcomSettingsWithBracketsOrBraces) {
    const ResultNode& top =
        *Run("tree", "TEAppDcomCnfg:[11111111-2222-3333-4444-555555555555]").Root().children().at(0);
    EXPECT_EQ(top.title(), "[D] DCOM Settings -{11111111-2222-3333-4444-555555555555}");
    EXPECT_THAT(Titles(top), ElementsAre("[D] Launch Permission", "[D] Access Permission", "[D] Other",
                                         "[D] Configurations Permission"));
    EXPECT_THAT(Titles(Child(top, "[D] Launch Permission")),
                ElementsAre("Error,The system cannot find the file specified."));
    EXPECT_THAT(Titles(Child(top, "[D] Access Permission")), ElementsAre("BUILTIN\\Users, Allow Access"));
    EXPECT_THAT(Titles(Child(top, "[D] Other")), ElementsAre("Service Name,TestService"));
    EXPECT_THAT(Titles(Child(top, "[D] Configurations Permission")).front(), "[D]  Permissions");
    // A script cannot hold a braced line; the dispatcher can.
    const ResultNode& braced = Run("tree", "TEAppDcomCnfg:{11111111-2222-3333-4444-555555555555}").Root();
    ASSERT_EQ(braced.children().size(), 1u);
    EXPECT_EQ(braced.children()[0]->children().size(), 4u);
    const ResultNode& missing =
        *Run("tree", "TEAppDcomCnfg:[00000000-0000-0000-0000-000000000000]").Root().children().at(0);
    EXPECT_THAT(Titles(missing), ElementsAre("ERROR,Key not present"));
}

TEST_F(SecurityProbes, ImagesWithoutSecurityDataAnswerNotSupported) {
    auto loaded =
        platform::sim::LoadMachine((fs::path(KAVLO_TEST_SOURCE_DIR) / "probes/files/tests/data/machine").string());
    ASSERT_TRUE(loaded.machine) << loaded.error;
    EXPECT_EQ(loaded.machine->FileSecurity("C:\\").error(), err::kNotSupported);
    EXPECT_EQ(loaded.machine->LoggedOnUser().error(), err::kNotSupported);
    EXPECT_EQ(loaded.machine->PrivilegeDisplayName("SeShutdownPrivilege").error(), err::kNotSupported);
}

}  // namespace
}  // namespace kavlo
