// LoadMachine over temporary machine folders: loading and its errors, the
// registry key operations, system facts, environment, shell folders, error texts.
#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::platform::sim {
namespace {

using kavlo::testing::kMinimalSystem;
using kavlo::testing::TempFolder;
namespace fs = std::filesystem;

std::unique_ptr<Machine> Load(const TempFolder& folder) {
    LoadResult loaded = LoadMachine(folder.folder());
    EXPECT_EQ(loaded.error, "");
    return std::move(loaded.machine);
}

std::string LoadError(const TempFolder& folder) {
    LoadResult loaded = LoadMachine(folder.folder());
    EXPECT_EQ(loaded.machine, nullptr);
    return loaded.error;
}

std::string Label(const TempFolder& folder, std::string_view relative) {
    return (folder.root() / fs::path(relative).make_preferred()).string();
}

TEST(LoadMachine, MissingFolderOrIni) {
    TempFolder t;
    EXPECT_EQ(LoadError(t),
              Label(t, "machine.ini") + ": missing; a machine folder needs machine.ini (see docs/machine-format.md)");
    const std::string nowhere = (t.root() / "nowhere").string();
    EXPECT_EQ(LoadMachine(nowhere).error, nowhere + ": no such machine folder");
}

TEST(LoadMachine, BadIniOrRegStopsTheLoad) {
    TempFolder t;
    t.Write("machine.ini", std::string(kMinimalSystem) + "[memory]\ntotal_phys = lots\n");
    EXPECT_EQ(LoadError(t), Label(t, "machine.ini") +
                                ":21: \"total_phys\" needs a number from 0 to 18446744073709551615, not \"lots\"");
    t.Write("machine.ini", kMinimalSystem);
    t.Write("registry/00-good.reg", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\A]\n");
    t.Write("registry/10-bad.reg", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\B]\n\"x\"=dword:xyz\n");
    EXPECT_EQ(LoadError(t), Label(t, "registry/10-bad.reg") + ":3: dword: needs 1 to 8 hex digits");
}

// Every part of the machine is read through its links, and none may lead out.
TEST(LoadMachine, LinksLeadingOutsideTheFolderFailTheLoad) {
    TempFolder outside;
    outside.Write("secret.reg", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Secret]\n");
    outside.Write("registry/secret.reg", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\Secret]\n");
    outside.Write("c/secret.txt", "secret");
    outside.Write("drives/c/secret.txt", "secret");
    outside.Write("machine.ini", kMinimalSystem);
    const std::string leaving = ": a symbolic link leading outside the machine folder";
    struct Case {
        const char* link;
        const char* target;
        std::string error;
    };
    TempFolder probe;
    const std::vector<Case> cases = {
        {"drives/c", "c", "drives/c" + leaving},
        {"drives", "drives", "drives" + leaving},
        {"registry/10-x.reg", "secret.reg", Label(probe, "registry/10-x.reg") + leaving},
        {"registry", "registry", Label(probe, "registry") + leaving},
        {"machine.ini", "machine.ini", Label(probe, "machine.ini") + leaving},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        TempFolder t;
        if (std::string_view(c.link) != "machine.ini") t.Write("machine.ini", kMinimalSystem);
        fs::create_directories((t.root() / c.link).parent_path());
        std::error_code ec;
        fs::create_symlink(outside.root() / c.target, t.root() / c.link, ec);
        if (ec) GTEST_SKIP() << "the host cannot create symbolic links: " << ec.message();
        std::string expected = c.error;
        if (expected.rfind(probe.folder(), 0) == 0) expected.replace(0, probe.folder().size(), t.folder());
        EXPECT_EQ(LoadError(t), expected);
    }
}

TEST(LoadMachine, UnreadablePartsFailTheLoad) {
    TempFolder t;
    t.Write("machine.ini", kMinimalSystem);
    t.Write("registry", "not a folder");
    EXPECT_EQ(LoadError(t), Label(t, "registry") + ": not a folder");
    fs::remove(t.root() / "registry");
    t.Write("drives", "not a folder");
    EXPECT_EQ(LoadError(t), "drives: not a folder");
    fs::remove(t.root() / "drives");
    if (!kavlo::testing::PermissionsCanHideFolders())
        GTEST_SKIP() << "permissions cannot hide folders here (root, or Windows)";
    for (const char* part : {"registry", "drives/c"}) {
        SCOPED_TRACE(part);
        const fs::path folder = t.Mkdir(part);
        fs::permissions(folder, fs::perms::none);
        const std::string shown = std::string_view(part) == "registry" ? Label(t, part) : std::string(part);
        EXPECT_EQ(LoadError(t), shown + ": cannot be read (Permission denied)");
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
    t.Write("machine.ini", kMinimalSystem);
    fs::permissions(t.root() / "machine.ini", fs::perms::none);
    EXPECT_EQ(LoadError(t), Label(t, "machine.ini") + ": cannot be read (Permission denied)");
}

TEST(LoadMachine, DriveFoldersNeedTheirSections) {
    TempFolder t;
    t.Write("machine.ini", kMinimalSystem);
    t.Write("drives/q/file.txt", "x");
    EXPECT_EQ(LoadError(t), "drives/q: there is no [drive Q:] section in machine.ini for this folder");
    fs::remove_all(t.root() / "drives/q");
    t.Write("drives/readme.txt", "x");
    EXPECT_EQ(LoadError(t), "drives/readme.txt: drives/ holds one folder per drive letter (drives/c is C:)");
}

TEST(LoadMachine, FileSectionsMustNameExistingFiles) {
    TempFolder t;
    t.Write("machine.ini", std::string(kMinimalSystem) + "[file C:\\WINNT\\nothing.dll]\nattributes = R\n");
    t.Write("drives/c/WINNT/win.ini", "");
    EXPECT_EQ(LoadError(t),
              Label(t, "machine.ini") + ":20: no such file or directory under drives/: C:\\WINNT\\nothing.dll");
    t.Write("machine.ini", std::string(kMinimalSystem) +
                               "[file C:\\WINNT\\win.ini]\nshort_name = OTHER.INI\n"
                               "[file C:\\WINNT\\system.ini]\nshort_name = other.ini\n");
    t.Write("drives/c/WINNT/system.ini", "");
    EXPECT_EQ(LoadError(t), Label(t, "machine.ini") + ":20: short name OTHER.INI is already used by system.ini");
    t.Write("machine.ini", std::string(kMinimalSystem) + "[file C:\\PROGRA~1]\nattributes = R\n");
    t.Write("drives/c/Program Files/x.txt", "");
    EXPECT_EQ(LoadError(t), Label(t, "machine.ini") + ":20: name the file by its long names: C:\\Program Files");
}

TEST(LoadMachine, RegistryFilesMergeInNameOrder) {
    TempFolder t;
    t.Write("machine.ini", kMinimalSystem);
    t.Write("registry/20-later.reg",
            "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\V]\n\"who\"=\"later\"\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n");
    t.Write("registry/10-first.REG",
            "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\V]\n\"who\"=\"first\"\n\"only\"=\"first\"\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n");
    t.Write("registry/notes.txt", "not a registry file");
    auto m = Load(t);
    ASSERT_TRUE(m);
    auto v = m->OpenKey(RegRoot::LocalMachine, "SOFTWARE\\V");
    ASSERT_TRUE(v.ok());
    EXPECT_EQ((*v)->QueryValue("who", 100).value().data, std::string("later\0", 6));
    EXPECT_EQ((*v)->QueryValue("only", 100).value().data, std::string("first\0", 6));
    EXPECT_EQ(m->OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Gone").error(), err::kFileNotFound);
}

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override {
        t_.Write("machine.ini", kMinimalSystem);
        t_.Write("registry/00.reg",
                 "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\T]\n\"Ten\"=\"123456789\"\n@=dword:1\n"
                 "[HKEY_CURRENT_USER\\Software\\T\\Sub1]\n[HKEY_CURRENT_USER\\Software\\T\\LongerName]\n");
        machine_ = Load(t_);
        ASSERT_TRUE(machine_);
        auto key = machine_->OpenKey(RegRoot::CurrentUser, "software\\t");
        ASSERT_TRUE(key.ok());
        key_ = std::move(*key);
    }
    TempFolder t_;
    std::unique_ptr<Machine> machine_;
    std::unique_ptr<RegistryKey> key_;
};

TEST_F(RegistryKeyTest, QueryHonoursTheBufferSize) {
    EXPECT_EQ(key_->QueryValue("Ten", 10).value().data.size(), 10u);  // exactly fits
    EXPECT_EQ(key_->QueryValue("TEN", 9).error(), err::kMoreData);
    EXPECT_EQ(key_->QueryValue("Ten", 0).error(), err::kMoreData);
    EXPECT_EQ(key_->QueryValue("Eleven", 100).error(), err::kFileNotFound);
    EXPECT_EQ(key_->QueryValue("", 4).value().type, regtype::kDword);
}

TEST_F(RegistryKeyTest, EnumerationEndsWith259) {
    EXPECT_EQ(key_->EnumSubkey(0, 10).value(), "LongerName");
    EXPECT_EQ(key_->EnumSubkey(0, 9).error(), err::kMoreData);
    EXPECT_EQ(key_->EnumSubkey(1, 255).value(), "Sub1");
    EXPECT_EQ(key_->EnumSubkey(2, 255).error(), err::kNoMoreItems);
    EXPECT_EQ(key_->EnumSubkey(0xFFFFFFFF, 255).error(), err::kNoMoreItems);
    EXPECT_EQ(key_->EnumValue(0, 3, 10).value().name, "Ten");
    EXPECT_EQ(key_->EnumValue(0, 2, 10).error(), err::kMoreData);
    EXPECT_EQ(key_->EnumValue(0, 3, 9).error(), err::kMoreData);
    EXPECT_EQ(key_->EnumValue(1, 0, 4).value().name, "");
    EXPECT_EQ(key_->EnumValue(2, 255, 255).error(), err::kNoMoreItems);
}

TEST_F(RegistryKeyTest, MissingKeysAndSecurity) {
    EXPECT_EQ(machine_->OpenKey(RegRoot::CurrentUser, "Software\\Nope").error(), err::kFileNotFound);
    EXPECT_EQ(machine_->OpenKey(RegRoot::LocalMachine, "Software\\T").error(), err::kFileNotFound);
    EXPECT_EQ(key_->SecurityDescriptor().error(), err::kNotSupported);
    EXPECT_TRUE(machine_->OpenKey(RegRoot::CurrentUser, "").ok());
    EXPECT_TRUE(machine_->OpenKey(RegRoot::ClassesRoot, "").ok());
}

TEST_F(RegistryKeyTest, CreateAndSetStayInMemory) {
    EXPECT_EQ(key_->SetString("x", "y").error(), err::kAccessDenied);
    auto created = machine_->CreateKey(RegRoot::LocalMachine, "SOFTWARE\\Quorvane\\KAVLO");
    ASSERT_TRUE(created.ok());
    EXPECT_TRUE((*created)->SetString("Name", std::string("Jo\0", 3)).ok());
    auto reopened = machine_->OpenKey(RegRoot::LocalMachine, "software\\quorvane\\kavlo");
    ASSERT_TRUE(reopened.ok());
    EXPECT_EQ((*reopened)->QueryValue("name", 10).value().data, std::string("Jo\0", 3));
    EXPECT_TRUE(machine_->CreateKey(RegRoot::ClassesRoot, ".new").ok());
    EXPECT_TRUE(machine_->OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Classes\\.new").ok());
    // Nothing of it reaches the folder.
    std::size_t files = 0;
    for (const auto& item : fs::recursive_directory_iterator(t_.root())) files += item.is_regular_file();
    EXPECT_EQ(files, 2u);
    auto fresh = Load(t_);
    EXPECT_EQ(fresh->OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Quorvane").error(), err::kFileNotFound);
}

TEST_F(RegistryKeyTest, DeleteKeyRemovesTheSubtree) {
    ASSERT_TRUE(machine_->CreateKey(RegRoot::CurrentUser, "Software\\T\\Sub1\\Deep\\Deeper").ok());
    ASSERT_TRUE(machine_->CreateKey(RegRoot::CurrentUser, "Software\\Other").ok());
    EXPECT_TRUE(machine_->DeleteKey(RegRoot::CurrentUser, "SOFTWARE\\t\\sub1").ok());
    EXPECT_EQ(machine_->OpenKey(RegRoot::CurrentUser, "Software\\T\\Sub1").error(), err::kFileNotFound);
    EXPECT_EQ(machine_->OpenKey(RegRoot::CurrentUser, "Software\\T\\Sub1\\Deep\\Deeper").error(), err::kFileNotFound);
    // The parent keeps its values and its other subkeys, in their order.
    EXPECT_EQ(key_->EnumSubkey(0, 255).value(), "LongerName");
    EXPECT_EQ(key_->EnumSubkey(1, 255).error(), err::kNoMoreItems);
    EXPECT_EQ(key_->QueryValue("Ten", 100).value().data, std::string("123456789\0", 10));
    EXPECT_TRUE(machine_->OpenKey(RegRoot::CurrentUser, "Software\\Other").ok());
    // Created again, the key starts empty.
    auto again = machine_->CreateKey(RegRoot::CurrentUser, "Software\\T\\Sub1");
    ASSERT_TRUE(again.ok());
    EXPECT_EQ((*again)->EnumSubkey(0, 255).error(), err::kNoMoreItems);
}

TEST_F(RegistryKeyTest, DeleteKeyFailures) {
    struct Case {
        RegRoot root;
        const char* path;
        WinError error;
    };
    const Case cases[] = {
        {RegRoot::CurrentUser, "Software\\Nope", err::kFileNotFound},
        {RegRoot::CurrentUser, "Software\\Nope\\Deeper", err::kFileNotFound},
        {RegRoot::LocalMachine, "Software\\T", err::kFileNotFound},  // another hive
        {RegRoot::CurrentUser, "", err::kInvalidParameter},          // a root is never deleted
        {RegRoot::CurrentUser, "\\\\", err::kInvalidParameter},
    };
    for (const Case& c : cases) EXPECT_EQ(machine_->DeleteKey(c.root, c.path).error(), c.error) << c.path;
    EXPECT_TRUE(machine_->OpenKey(RegRoot::CurrentUser, "Software\\T\\Sub1").ok());
}

TEST_F(RegistryKeyTest, KeysOpenOnADeletedKeyFailWith1018) {
    constexpr WinError kKeyDeleted = 1018;
    auto sub = machine_->OpenKey(RegRoot::CurrentUser, "Software\\T\\Sub1", kKeyAllAccess);
    ASSERT_TRUE(sub.ok());
    EXPECT_TRUE(machine_->DeleteKey(RegRoot::CurrentUser, "Software\\T").ok());
    for (RegistryKey* key : {key_.get(), sub->get()}) {
        EXPECT_EQ(key->QueryValue("Ten", 100).error(), kKeyDeleted);
        EXPECT_EQ(key->EnumSubkey(0, 255).error(), kKeyDeleted);
        EXPECT_EQ(key->EnumValue(0, 255, 255).error(), kKeyDeleted);
    }
    EXPECT_EQ((*sub)->SetString("x", "y").error(), kKeyDeleted);
    EXPECT_EQ(machine_->OpenKey(RegRoot::CurrentUser, "Software\\T").error(), err::kFileNotFound);
}

TEST_F(RegistryKeyTest, DeleteKeyBelowClassesRoot) {
    ASSERT_TRUE(machine_->CreateKey(RegRoot::ClassesRoot, ".gone\\shell").ok());
    EXPECT_TRUE(machine_->DeleteKey(RegRoot::ClassesRoot, ".gone").ok());
    EXPECT_EQ(machine_->OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Classes\\.gone").error(), err::kFileNotFound);
    EXPECT_TRUE(machine_->DeleteKey(RegRoot::LocalMachine, "SOFTWARE\\Classes").ok());
    EXPECT_EQ(machine_->DeleteKey(RegRoot::ClassesRoot, ".gone").error(), err::kFileNotFound);
}

TEST(SimSystem, AccessChecksAreNotAvailableYet) {
    TempFolder t;
    t.Write("machine.ini", kMinimalSystem);
    t.Write("drives/c/file.txt", "x");
    auto m = Load(t);
    ASSERT_TRUE(m);
    for (const char* path : {"C:\\file.txt", "C:\\", "C:\\missing.txt"})
        EXPECT_EQ(m->EffectiveAccess(path).error(), err::kNotSupported) << path;
}

TEST(SimSystem, FactsEnvironmentAndFolders) {
    TempFolder t;
    t.Write("machine.ini", std::string(kMinimalSystem) +
                               "[memory]\ntotal_phys = 100\navail_phys = 40\n"
                               "[environment]\nSystemRoot = C:\\WINNT\nPath = %SystemRoot%\\system32\nEMPTY =\n"
                               "[folders]\nCSIDL_APPDATA = C:\\Documents and Settings\\u\\Application Data\n"
                               "CSIDL_SYSTEM = C:\\Other\n");
    auto m = Load(t);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->Memory().totalPhys, 100u);
    EXPECT_EQ(m->Memory().availPhys, 40u);
    EXPECT_EQ(m->ProcessorCount(), 1u);
    EXPECT_EQ(m->CurrentDirectory(), "C:\\WINNT");
    EXPECT_EQ(m->Environment("systemroot").value(), "C:\\WINNT");
    EXPECT_EQ(m->Environment("EMPTY").value(), "");
    EXPECT_FALSE(m->Environment("nothing").has_value());
    EXPECT_EQ(m->ExpandEnvironment("%SYSTEMROOT%\\x"), "C:\\WINNT\\x");
    EXPECT_EQ(m->ExpandEnvironment("%Path%"), "%SystemRoot%\\system32");  // values are not expanded twice
    EXPECT_EQ(m->ExpandEnvironment("a%UNKNOWN%b%SystemRoot%"), "a%UNKNOWN%bC:\\WINNT");
    EXPECT_EQ(m->ExpandEnvironment("100% sure"), "100% sure");
    EXPECT_EQ(m->ExpandEnvironment("%%"), "%%");
    EXPECT_EQ(m->ExpandEnvironment("%EMPTY%|"), "|");
    EXPECT_EQ(m->ShellFolder(0x1A).value(), "C:\\Documents and Settings\\u\\Application Data");
    EXPECT_EQ(m->ShellFolder(0x801A).value(), "C:\\Documents and Settings\\u\\Application Data");  // flags ignored
    EXPECT_EQ(m->ShellFolder(0x24).value(), "C:\\WINNT");             // CSIDL_WINDOWS defaults to the Windows directory
    EXPECT_EQ(m->ShellFolder(0x25).value(), "C:\\Other");             // ... unless given
    EXPECT_EQ(m->ShellFolder(0x11).error(), err::kInvalidParameter);  // My Computer has no path
    EXPECT_EQ(m->ShellFolder(0x05).error(), err::kFileNotFound);
}

TEST(SimSystem, HostNameNeedsItsKey) {
    TempFolder t;
    std::string ini(kMinimalSystem);
    ini.erase(ini.find("host_name = testpc\n"), 19);
    t.Write("machine.ini", ini);
    auto m = Load(t);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->HostName().error(), 10093u);
}

TEST(SimSystem, ErrorTextsAsWindowsGivesThem) {
    TempFolder t;
    t.Write("machine.ini", kMinimalSystem);
    auto m = Load(t);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->ErrorText(2), "The system cannot find the file specified.\r\n");
    EXPECT_EQ(m->ErrorText(5), "Access is denied.\r\n");
    EXPECT_EQ(m->ErrorText(234), "More data is available.\r\n");
    EXPECT_EQ(m->ErrorText(259), "No more data is available.\r\n");
    EXPECT_EQ(m->ErrorText(1060), "The specified service does not exist as an installed service.\r\n");
    EXPECT_EQ(m->ErrorText(1813), "The specified resource type cannot be found in the image file.\r\n");
    EXPECT_EQ(m->ErrorText(1234), "Unknown error 1234.\r\n");
    for (WinError code : {2u,   3u,   5u,    6u,    18u,   21u,   32u,   50u,   87u,   122u,  123u, 127u,
                          234u, 259u, 1056u, 1058u, 1060u, 1062u, 1066u, 1073u, 1722u, 1753u, 1813u}) {
        const std::string text = m->ErrorText(code);
        EXPECT_EQ(text.find("Unknown"), std::string::npos) << code;
        EXPECT_EQ(text.substr(text.size() - 3), ".\r\n") << code;
    }
}

}  // namespace
}  // namespace kavlo::platform::sim
