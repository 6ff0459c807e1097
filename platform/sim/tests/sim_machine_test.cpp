// LoadMachine over temporary machine folders: loading and its errors, what only
// the simulated registry does, system facts, environment, shell folders, error texts.
#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::platform::sim {
namespace {

using kavlo::testing::kMinimalSystem;
using kavlo::testing::TempFolder;
namespace fs = std::filesystem;

std::unique_ptr<Machine> Load(const TempFolder& folder, std::string_view ini = kMinimalSystem) {
    if (!ini.empty()) folder.Write("machine.ini", ini);
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

TEST(LoadMachine, MissingFolderOrIniAndBadIniOrRegStopTheLoad) {
    TempFolder t;
    EXPECT_EQ(LoadError(t),
              Label(t, "machine.ini") + ": missing; a machine folder needs machine.ini (see docs/machine-format.md)");
    const std::string nowhere = (t.root() / "nowhere").string();
    EXPECT_EQ(LoadMachine(nowhere).error, nowhere + ": no such machine folder");
    t.Write("machine.ini", std::string(kMinimalSystem) + "[memory]\ntotal_phys = 99999999999999999999\n");
    EXPECT_EQ(LoadError(t),
              Label(t, "machine.ini") +
                  ":21: \"total_phys\" needs a number from 0 to 18446744073709551615, not \"99999999999999999999\"");
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
    const std::pair<const char*, const char*> links[] = {{"drives/c", "c"},
                                                         {"drives", "drives"},
                                                         {"registry/10-x.reg", "secret.reg"},
                                                         {"registry", "registry"},
                                                         {"machine.ini", "machine.ini"}};
    for (const auto& [link, target] : links) {
        TempFolder t;
        if (std::string_view(link) != "machine.ini") t.Write("machine.ini", kMinimalSystem);
        fs::create_directories((t.root() / link).parent_path());
        std::error_code ec;
        fs::create_symlink(outside.root() / target, t.root() / link, ec);
        if (ec) GTEST_SKIP() << "the host cannot create symbolic links: " << ec.message();
        // Parts below drives/ are named relative to the folder.
        const std::string shown = std::string_view(link).rfind("drives", 0) == 0 ? link : Label(t, link);
        EXPECT_EQ(LoadError(t), shown + ": a symbolic link leading outside the machine folder");
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
        const fs::path folder = t.Mkdir(part);
        fs::permissions(folder, fs::perms::none);
        const std::string shown = std::string_view(part) == "registry" ? Label(t, part) : std::string(part);
        EXPECT_EQ(LoadError(t), shown + ": cannot be read (Permission denied)");
        fs::permissions(folder, fs::perms::owner_all);
        fs::remove_all(folder);
    }
    fs::permissions(t.root() / "machine.ini", fs::perms::none);
    EXPECT_EQ(LoadError(t), Label(t, "machine.ini") + ": cannot be read (Permission denied)");
}

TEST(LoadMachine, DriveFoldersAndFileSectionsMustMatch) {
    TempFolder t;
    t.Write("machine.ini", kMinimalSystem);
    t.Write("drives/q/file.txt", "x");
    EXPECT_EQ(LoadError(t), "drives/q: there is no [drive Q:] section in machine.ini for this folder");
    fs::remove_all(t.root() / "drives/q");
    t.Write("drives/readme.txt", "x");
    EXPECT_EQ(LoadError(t), "drives/readme.txt: drives/ holds one folder per drive letter (drives/c is C:)");
    fs::remove(t.root() / "drives/readme.txt");
    t.Write("drives/c/WINNT/win.ini", "");
    t.Write("drives/c/WINNT/system.ini", "");
    t.Write("drives/c/Program Files/x.txt", "");
    const std::pair<const char*, const char*> cases[] = {
        {"[file C:\\WINNT\\nothing.dll]\nattributes = R\n",
         "no such file or directory under drives/: C:\\WINNT\\nothing.dll"},
        {"[file C:\\WINNT\\win.ini]\nshort_name = OTHER.INI\n[file C:\\WINNT\\system.ini]\nshort_name = other.ini\n",
         "short name OTHER.INI is already used by system.ini"},
        {"[file C:\\PROGRA~1]\nattributes = R\n", "name the file by its long names: C:\\Program Files"},
    };
    for (const auto& [sections, error] : cases) {
        t.Write("machine.ini", std::string(kMinimalSystem) + sections);
        EXPECT_EQ(LoadError(t), Label(t, "machine.ini") + ":20: " + error);
    }
}

// What the real registry does is checked on both backends (platform/tests/conformance),
// HKEY_CLASSES_ROOT as a view of HKLM\SOFTWARE\Classes in reg_file_test.cpp.
TEST(SimRegistry, FilesMergeInNameOrderAndChangesStayInMemory) {
    TempFolder t;
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

    auto created = m->CreateKey(RegRoot::LocalMachine, "SOFTWARE\\Quorvane\\KAVLO");
    ASSERT_TRUE(created.ok());
    EXPECT_TRUE((*created)->SetString("Name", "Jo").ok());
    EXPECT_EQ(Load(t, "")->OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Quorvane").error(), err::kFileNotFound);
    EXPECT_EQ(t.Names(), (std::set<std::string>{"machine.ini", "registry"}));
}

// machine.ini as the machine gives it: a UTF-8 file with a byte-order mark read
// in the machine's code page, sections and keys in any case, defaults for what
// is left out. Memory, drives and the computer name as the sample machine gives
// them are shown in scripts/tests/expected/office7.txt; the drives' details in
// file_system_test.cpp.
TEST(SimSystem, FactsEnvironmentAndFolders) {
    TempFolder t;
    t.Write("drives/c/file.txt", "x");
    auto m = Load(t,
                  "\xEF\xBB\xBF; a comment\n# another\n"
                  "[System]\r\n"
                  "Platform = 9x\nmajor = 4\nminor = 10\nbuild = 0x0A22\nservice_pack = \" A \"\n"
                  "computer_name = HOMEPC\nwindows_dir = C:\\WINDOWS\nsystem_dir = C:\\WINDOWS\\SYSTEM\n"
                  "processors = 2\ncode_page = 1252\nnow = 2000-02-29 23:59:58\n"
                  "[drive C:]\ntype = fixed\n"
                  "[environment]\nSystemRoot = C:\\WINNT\nPath = %SystemRoot%\\system32\nEMPTY =\n"
                  "USER = J\xC3\xBCrgen\n"
                  "[folders]\ncsidl_appdata = C:\\Documents and Settings\\u\\Application Data\n"
                  "CSIDL_SYSTEM = C:\\Other\n");
    ASSERT_TRUE(m);
    const OsVersion version = m->Version();
    EXPECT_EQ(version.platform, os_platform::kWindows9x);
    EXPECT_EQ(std::vector<std::uint32_t>({version.major, version.minor, version.build}),
              std::vector<std::uint32_t>({4, 10, 0xA22}));
    EXPECT_EQ(version.servicePack, " A ");     // quotes keep blanks
    EXPECT_EQ(m->HostName().error(), 10093u);  // no host_name
    EXPECT_EQ(m->CurrentDirectory(), "C:\\");  // defaults to the root of the Windows drive
    EXPECT_EQ(m->ProcessorCount(), 2u);
    EXPECT_EQ(m->Now().dayOfWeek, 2);  // 29 Feb 2000 was a Tuesday
    EXPECT_EQ(m->Environment("systemroot").value(), "C:\\WINNT");
    EXPECT_EQ(m->Environment("USER").value(), "J\xFCrgen");
    EXPECT_EQ(m->Environment("EMPTY").value(), "");
    EXPECT_EQ(m->ExpandEnvironment("%Path%"), "%SystemRoot%\\system32");  // values are not expanded twice
    EXPECT_EQ(m->ExpandEnvironment("%%"), "%%");
    EXPECT_EQ(m->ExpandEnvironment("%EMPTY%|"), "|");
    EXPECT_EQ(m->ShellFolder(0x801A).value(), "C:\\Documents and Settings\\u\\Application Data");  // flags ignored
    EXPECT_EQ(m->ShellFolder(0x25).value(), "C:\\Other");  // given, not the system directory
    EXPECT_EQ(m->ShellFolder(0x05).error(), err::kFileNotFound);
    EXPECT_EQ(m->ErrorText(1234), "Unknown error 1234.\r\n");
}

}  // namespace
}  // namespace kavlo::platform::sim
