// The drives of a simulated machine: what the machine folder decides (attributes,
// times, short names, drives, reparse points) and the path rules of FindFiles and
// the other file operations. What every backend does alike is checked in
// platform/tests/conformance.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/sim/sim_machine.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::platform::sim {
namespace {

using kavlo::testing::kMinimalSystem;
using kavlo::testing::TempFolder;
namespace fs = std::filesystem;
using Names_ = std::vector<std::string>;

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        t_.Write("machine.ini", std::string(kMinimalSystem) +
                                    "[drive A:]\ntype = removable\nready = no\n"
                                    "[drive D:]\ntype = cdrom\nfile_system = CDFS\nlabel = DISC\n"
                                    "[drive E:]\ntype = fixed\nfile_system = FAT32\n"
                                    "[file C:\\boot.ini]\nattributes = hs\nmodified = 2001-04-12 16:47:31\n"
                                    "[file C:\\WINNT\\plain.txt]\nattributes =\n"
                                    "[file C:\\Program Fun]\nshort_name = fun\n");
        t_.Write("drives/c/boot.ini", "[boot loader]\r\n");
        t_.Write("drives/c/WINNT/win.ini", "0123456789");
        for (const char* name :
             {"system.ini", "README", "kernel32.dll", "a.b.dll", "notes.txt.bak", "plain.txt", "Temp/.gitkeep"})
            t_.Write(std::string("drives/c/WINNT/") + name, "");
        for (const char* name : {"Program Files", "Program Fun", "Programs and more"})
            t_.Write(std::string("drives/c/") + name + "/x.txt", "");
        t_.Write("drives/c/index.html", "");
        t_.Write("drives/c/Caf\xC3\xA9.txt", "");  // UTF-8 on the host, code page 1252 on the machine
        t_.Write("drives/d/SETUP.EXE", "MZ");
        t_.Mkdir("drives/d/I386");
        const auto stamp = std::chrono::sys_seconds(std::chrono::seconds(1000000000));  // 2001-09-09 01:46:40
        fs::last_write_time(t_.root() / "drives/c/WINNT/win.ini", std::chrono::file_clock::from_sys(stamp));
    }

    Machine& m() {
        if (!machine_) {
            LoadResult loaded = LoadMachine(t_.folder());
            EXPECT_EQ(loaded.error, "");
            machine_ = std::move(loaded.machine);
        }
        return *machine_;
    }

    Names_ Names(std::string_view pattern) {
        auto found = m().FindFiles(pattern);
        if (!found) return {"error " + std::to_string(found.error())};
        Names_ names;
        for (const FindEntry& e : *found) names.push_back(e.name);
        return names;
    }

    FindEntry One(std::string_view pattern) {
        auto found = m().FindFiles(pattern);
        EXPECT_TRUE(found.ok() && found->size() == 1) << pattern;
        return found.ok() && found->size() == 1 ? found->front() : FindEntry{};
    }

    TempFolder t_;
    std::unique_ptr<Machine> machine_;
};

TEST_F(FileSystemTest, FindFilesInNameOrderWithDotEntriesBelowTheRoot) {
    const std::pair<std::string, Names_> cases[] = {
        {"C:\\WINNT\\*.*",  // a name needs no dot
         {".", "..", "a.b.dll", "kernel32.dll", "notes.txt.bak", "plain.txt", "README", "system.ini", "Temp",
          "win.ini"}},
        {"c:/winnt/*.INI", {"system.ini", "win.ini"}},
        {"C:\\WINNT\\*.", {".", "..", "README", "Temp"}},
        {"C:\\WINNT\\plain?.txt", {"plain.txt"}},  // "?" may match nothing before a dot
        {"C:\\WINNT\\win.ini??", {"win.ini"}},     // ... and at the end
        {"C:\\WINNT\\win?ini", {"error 2"}},       // but never the dot itself
        {"C:\\WINNT\\..\\WINNT\\.\\win.ini", {"win.ini"}},
        {"C:\\*",
         {"boot.ini", "Caf\xE9.txt", "index.html", "Program Files", "Program Fun", "Programs and more", "WINNT"}},
        {"C:\\*.htm", {"index.html"}},  // a pattern also matches the short name INDEX~1.HTM
        {"C:\\CAF\xC9.TXT", {"Caf\xE9.txt"}},
        {"C:\\caf?.txt", {"Caf\xE9.txt"}},
        {"C:\\winnt\\temp", {"Temp"}},               // a directory by its name
        {"C:\\PROGRA~1", {"Program Files"}},         // by a generated short name
        {"C:\\fun", {"Program Fun"}},                // by a given short name
        {"C:\\WINNT\\README.", {"README"}},          // a trailing dot also finds the name without it
        {"C:\\WINNT\\notes.txt", {"error 2"}},       // only a prefix of notes.txt.bak
        {"C:\\WINNT\\Temp\\.gitkeep", {"error 2"}},  // placeholders are no files of the machine
        {"C:\\WINNT\\..", {"error 2"}},              // the root itself
        {"C:\\WINNT\\", {"error 2"}},
        {"E:\\*", {"error 2"}},  // a drive without a host folder is empty
        {"C:\\NoDir\\", {"error 3"}},
        {"C:\\WINNT\\win.ini\\x", {"error 3"}},
        {"Q:\\*", {"error 3"}},
        {"", {"error 3"}},
        {"C:\\a|b", {"error 123"}},
        {"C:\\WI*\\win.ini", {"error 123"}},
        {"1:\\x", {"error 123"}},
        {"A:\\*", {"error 21"}},
        {"\\\\server\\share\\*", {"error 53"}},
        // Windows' own limit on paths; longer ones are refused before any lookup.
        {"C:\\" + std::string(32764, 'a'), {"error 2"}},
        {"C:\\" + std::string(32765, 'a'), {"error 206"}},
    };
    for (const auto& [pattern, names] : cases) EXPECT_EQ(Names(pattern), names) << pattern.substr(0, 40);
}

TEST_F(FileSystemTest, ControlCharactersOfHostNamesAreReplaced) {
    t_.Write("drives/c/WINNT/two\nlines.txt", "");
    t_.Write("drives/c/WINNT/tab\there.txt", "");
    if (!fs::exists(t_.root() / "drives/c/WINNT/two\nlines.txt")) GTEST_SKIP() << "the host forbids such names";
    EXPECT_EQ(Names("C:\\WINNT\\t*.txt"), (Names_{"tab?here.txt", "two?lines.txt"}));
}

TEST_F(FileSystemTest, EntriesCarryPathSizeTimeAttributesAndShortName) {
    const FindEntry win = One("c:\\winnt\\WIN.INI");
    EXPECT_EQ(win.fullPath, "c:\\winnt\\win.ini");
    EXPECT_EQ(win.shortName, "");
    EXPECT_EQ(win.attributes, attr::kArchive);
    const LocalTime& t = win.lastWrite;  // the host time, read as the machine's local time
    EXPECT_EQ(std::vector<int>({t.year, t.month, t.day, t.hour, t.minute, t.second, t.dayOfWeek}),
              std::vector<int>({2001, 9, 9, 1, 46, 40, 0}));
    const FindEntry boot = One("C:\\boot.ini");
    EXPECT_EQ(boot.attributes, attr::kHidden | attr::kSystem);
    EXPECT_EQ(boot.lastWrite.hour, 16);
    EXPECT_EQ(One("C:\\WINNT\\plain.txt").attributes, attr::kNormal);
    const FindEntry dir = One("C:\\Program Files");
    EXPECT_EQ(dir.attributes, attr::kDirectory);
    EXPECT_EQ(dir.shortName, "PROGRA~1");
    // Given names are reserved first, then names are generated in name order.
    EXPECT_EQ(One("C:\\Program Fun").shortName, "FUN");
    EXPECT_EQ(One("C:\\Programs and more").shortName, "PROGRA~2");
    EXPECT_EQ(One("C:\\PROGRA~2\\x.txt").fullPath, "C:\\PROGRA~2\\x.txt");
    EXPECT_EQ(One("D:\\SETUP.EXE").attributes, attr::kReadOnly);  // CD files are read-only
    EXPECT_EQ(One("D:\\I386").attributes, attr::kReadOnly | attr::kDirectory);
}

TEST_F(FileSystemTest, ReadingShortPathsVersionsAndVolumes) {
    auto file = m().OpenForRead("win.ini.");  // relative to C:\WINNT; trailing dots dropped
    ASSERT_TRUE(file.ok());
    EXPECT_EQ((*file)->Size(), 10u);
    EXPECT_EQ(m().ShortPathName("c:\\program files\\X.TXT").value(), "c:\\PROGRA~1\\X.TXT");
    EXPECT_EQ(m().ShortPathName("C:\\Programs and more\\").value(), "C:\\PROGRA~2\\");
    EXPECT_EQ(m().Volume("c:").value().serialNumber, 0x2C418E07u);
    const DiskSpace space = m().FreeSpace("C:\\WINNT").value();
    EXPECT_EQ(std::vector<std::uint64_t>({space.freeBytesToCaller, space.totalFreeBytes, space.totalBytes}),
              std::vector<std::uint64_t>({1000, 1000, 5000}));
    EXPECT_EQ(m().DriveType(""), drive::kFixed);  // the current drive
    EXPECT_EQ(m().DriveType("C:\\WINNT"), drive::kNoRootDir);
    EXPECT_EQ(m().LogicalDrives(), (Names_{"A:\\", "C:\\", "D:\\", "E:\\"}));

    // Missing files and folders give 2 and 3 alike on every backend (platform/tests/conformance).
    using Call = WinError (*)(Machine&, const std::string&);
    const Call open = [](Machine& m, const std::string& p) { return m.OpenForRead(p).error(); };
    const Call version = [](Machine& m, const std::string& p) { return m.FileVersion(p).error(); };
    const Call shortPath = [](Machine& m, const std::string& p) { return m.ShortPathName(p).error(); };
    const Call volume = [](Machine& m, const std::string& p) { return m.Volume(p).error(); };
    const Call space_ = [](Machine& m, const std::string& p) { return m.FreeSpace(p).error(); };
    const std::tuple<Call, std::string, WinError> failures[] = {
        {open, "C:\\WINNT", err::kAccessDenied},
        {open, "C:\\WINNT\\*.ini", err::kInvalidName},
        {open, "A:\\x", err::kNotReady},
        {open, "C:\\" + std::string(40000, 'a'), 206},
        {version, "D:\\SETUP.EXE", err::kResourceTypeNotFound},          // "MZ" and nothing else
        {version, "C:\\WINNT\\system.ini", err::kResourceTypeNotFound},  // empty
        {version, "C:\\WINNT\\Temp", err::kAccessDenied},
        {shortPath, "C:\\None\\none.ini", err::kPathNotFound},
        {shortPath, "C:\\*", err::kInvalidName},
        {volume, "C:\\WINNT\\", 144},
        {volume, "Q:\\", err::kPathNotFound},
        {volume, "A:\\", err::kNotReady},
        {space_, "C:\\Nothing\\", err::kPathNotFound},
        {space_, "A:\\", err::kNotReady},
        {space_, "Q:\\", err::kPathNotFound},
    };
    for (const auto& [call, path, error] : failures) EXPECT_EQ(call(m(), path), error) << path.substr(0, 40);
}

// Host symbolic links under drives/ are reparse points; they are followed only
// inside the machine folder, and never into a FIFO, which would block.
TEST_F(FileSystemTest, LinksAreReparsePointsFollowedOnlyInsideTheMachine) {
    std::error_code ec;
    fs::create_directory_symlink(t_.root() / "drives/c/WINNT", t_.root() / "drives/c/Junction", ec);
    if (!ec) fs::create_symlink(t_.root() / "drives/c/boot.ini", t_.root() / "drives/c/boot.lnk", ec);
    if (!ec) fs::create_directory_symlink(fs::temp_directory_path(), t_.root() / "drives/c/Outside", ec);
    if (!ec) fs::create_symlink(t_.root() / "drives/c/missing", t_.root() / "drives/c/Dangling", ec);
    if (ec) GTEST_SKIP() << "the host cannot create symbolic links: " << ec.message();
    const bool fifo = kavlo::testing::MakeHostFifo(t_.root() / "pipe");
    if (fifo) fs::create_symlink(t_.root() / "pipe", t_.root() / "drives/c/pipe.dll");
    EXPECT_EQ(One("C:\\Junction").attributes, attr::kReparsePoint | attr::kDirectory);
    EXPECT_EQ(One("C:\\Junction\\win.ini").size, 10u);
    EXPECT_EQ(One("C:\\boot.lnk").size, 0u);
    EXPECT_EQ(m().OpenForRead("C:\\boot.lnk").value()->Size(), 15u);
    EXPECT_EQ(Names("C:\\Outside\\*"), (Names_{"error 3"}));
    for (const char* link : {"C:\\boot.lnk", "C:\\Outside", "C:\\Dangling"})
        EXPECT_EQ(One(link).attributes, attr::kReparsePoint | attr::kArchive) << link;
    EXPECT_EQ(m().OpenForRead("C:\\Outside").error(), err::kFileNotFound);
    EXPECT_EQ(m().OpenForRead("C:\\Dangling").error(), err::kFileNotFound);
    if (!fifo) return;
    EXPECT_EQ(One("C:\\pipe.dll").attributes, attr::kReparsePoint | attr::kArchive);
    EXPECT_EQ(m().OpenForRead("C:\\pipe.dll").error(), err::kFileNotFound);
    EXPECT_EQ(m().FileVersion("C:\\pipe.dll").error(), err::kFileNotFound);
}

}  // namespace
}  // namespace kavlo::platform::sim
