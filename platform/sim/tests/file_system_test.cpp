// The drives of a simulated machine: FindFiles patterns and order, ".", "..",
// error codes, short names, attributes, times, reparse points, reading files.
#include <gtest/gtest.h>

#include <chrono>

#include "platform/sim/sim_machine.h"
#include "platform/testing/temp_folder.h"

namespace kavlo::platform::sim {
namespace {

using kavlo::testing::kMinimalSystem;
using kavlo::testing::TempFolder;
namespace fs = std::filesystem;

class FileSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        t_.Write("machine.ini", std::string(kMinimalSystem) +
                                    "[drive A:]\ntype = removable\nready = no\n"
                                    "[drive D:]\ntype = cdrom\nfile_system = CDFS\nlabel = DISC\n"
                                    "[drive E:]\ntype = fixed\nfile_system = FAT32\n"
                                    "[file C:\\boot.ini]\nattributes = HS\nmodified = 2001-04-12 16:47:31\n"
                                    "[file C:\\WINNT\\plain.txt]\nattributes =\n"
                                    "[file C:\\Program Fun]\nshort_name = FUN\n");
        t_.Write("drives/c/boot.ini", "[boot loader]\r\n");
        t_.Write("drives/c/WINNT/win.ini", "0123456789");
        t_.Write("drives/c/WINNT/system.ini", "");
        t_.Write("drives/c/WINNT/README", "");
        t_.Write("drives/c/WINNT/kernel32.dll", "");
        t_.Write("drives/c/WINNT/a.b.dll", "");
        t_.Write("drives/c/WINNT/notes.txt.bak", "");
        t_.Write("drives/c/WINNT/plain.txt", "");
        t_.Write("drives/c/WINNT/Temp/.gitkeep", "");
        t_.Write("drives/c/Program Files/x.txt", "");
        t_.Write("drives/c/Program Fun/x.txt", "");
        t_.Write("drives/c/Programs and more/x.txt", "");
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

    std::vector<std::string> Names(std::string_view pattern) {
        std::vector<std::string> names;
        auto found = m().FindFiles(pattern);
        if (!found) return {"error " + std::to_string(found.error())};
        for (const FindEntry& e : *found) names.push_back(e.name);
        return names;
    }

    FindEntry One(std::string_view pattern) {
        auto found = m().FindFiles(pattern);
        EXPECT_TRUE(found.ok()) << pattern;
        if (!found || found->size() != 1) return {};
        return found->front();
    }

    using Names_ = std::vector<std::string>;
    TempFolder t_;
    std::unique_ptr<Machine> machine_;
};

TEST_F(FileSystemTest, PatternsInNameOrderWithDotEntries) {
    EXPECT_EQ(Names("C:\\WINNT\\*"), (Names_{".", "..", "a.b.dll", "kernel32.dll", "notes.txt.bak", "plain.txt",
                                             "README", "system.ini", "Temp", "win.ini"}));
    EXPECT_EQ(Names("C:\\WINNT\\*.*"), Names("C:\\WINNT\\*"));
    EXPECT_EQ(Names("c:/winnt/*.INI"), (Names_{"system.ini", "win.ini"}));
    EXPECT_EQ(Names("C:\\WINNT\\*."), (Names_{".", "..", "README", "Temp"}));
    EXPECT_EQ(Names("C:\\WINNT\\*.dll"), (Names_{"a.b.dll", "kernel32.dll"}));
    EXPECT_EQ(Names("C:\\WINNT\\?????.ini"), (Names_{"win.ini"}));
    EXPECT_EQ(Names("C:\\WINNT\\.."), (Names_{"error 2"}));  // the root itself
    EXPECT_EQ(Names("C:\\WINNT\\..\\WINNT\\.\\win.ini"), (Names_{"win.ini"}));
}

TEST_F(FileSystemTest, RootHasNoDotEntries) {
    EXPECT_EQ(Names("C:\\*"), (Names_{"boot.ini", "Caf\xE9.txt", "index.html", "Program Files", "Program Fun",
                                      "Programs and more", "WINNT"}));
    EXPECT_EQ(Names("E:\\*"), (Names_{"error 2"}));  // a drive without a host folder is empty
}

TEST_F(FileSystemTest, ErrorCodes) {
    EXPECT_EQ(Names("C:\\WINNT\\nothing*"), (Names_{"error 2"}));
    EXPECT_EQ(Names("C:\\WINNT\\nothing.txt"), (Names_{"error 2"}));
    EXPECT_EQ(Names("C:\\NoDir\\*"), (Names_{"error 3"}));
    EXPECT_EQ(Names("C:\\WINNT\\win.ini\\*"), (Names_{"error 3"}));
    EXPECT_EQ(Names("C:\\WINNT\\"), (Names_{"error 2"}));
    EXPECT_EQ(Names("C:\\NoDir\\"), (Names_{"error 3"}));
    EXPECT_EQ(Names("C:\\"), (Names_{"error 2"}));
    EXPECT_EQ(Names("C:\\a|b"), (Names_{"error 123"}));
    EXPECT_EQ(Names("C:\\a<b"), (Names_{"error 123"}));
    EXPECT_EQ(Names("C:\\WI*\\win.ini"), (Names_{"error 123"}));
    EXPECT_EQ(Names("1:\\x"), (Names_{"error 123"}));
    EXPECT_EQ(Names("A:\\*"), (Names_{"error 21"}));
    EXPECT_EQ(Names("Q:\\*"), (Names_{"error 3"}));
    EXPECT_EQ(Names("\\\\server\\share\\*"), (Names_{"error 53"}));
    EXPECT_EQ(Names(""), (Names_{"error 3"}));
    // Windows' own limit on paths; longer ones are refused before any lookup.
    EXPECT_EQ(Names("C:\\" + std::string(32764, 'a')), (Names_{"error 2"}));
    EXPECT_EQ(Names("C:\\" + std::string(32765, 'a')), (Names_{"error 206"}));
    EXPECT_EQ(m().OpenForRead("C:\\" + std::string(40000, 'a')).error(), 206u);
}

TEST_F(FileSystemTest, ControlCharactersOfHostNamesAreReplaced) {
    t_.Write("drives/c/WINNT/two\nlines.txt", "");
    t_.Write("drives/c/WINNT/tab\there.txt", "");
    if (!fs::exists(t_.root() / "drives/c/WINNT/two\nlines.txt")) GTEST_SKIP() << "the host forbids such names";
    EXPECT_EQ(Names("C:\\WINNT\\t*.txt"), (Names_{"tab?here.txt", "two?lines.txt"}));
}

TEST_F(FileSystemTest, EntriesCarryPathSizeTimeAndShortName) {
    const FindEntry win = One("c:\\winnt\\WIN.INI");
    EXPECT_EQ(win.name, "win.ini");
    EXPECT_EQ(win.fullPath, "c:\\winnt\\win.ini");
    EXPECT_EQ(win.size, 10u);
    EXPECT_EQ(win.shortName, "");
    EXPECT_EQ(win.attributes, attr::kArchive);
    EXPECT_EQ(win.lastWrite.year, 2001);  // the host time, read as the machine's local time
    EXPECT_EQ(win.lastWrite.month, 9);
    EXPECT_EQ(win.lastWrite.day, 9);
    EXPECT_EQ(win.lastWrite.hour, 1);
    EXPECT_EQ(win.lastWrite.minute, 46);
    EXPECT_EQ(win.lastWrite.second, 40);
    EXPECT_EQ(win.lastWrite.dayOfWeek, 0);
    const FindEntry boot = One("C:\\boot.ini");
    EXPECT_EQ(boot.attributes, attr::kHidden | attr::kSystem);
    EXPECT_EQ(boot.lastWrite.year, 2001);
    EXPECT_EQ(boot.lastWrite.hour, 16);
    EXPECT_EQ(One("C:\\WINNT\\plain.txt").attributes, attr::kNormal);
    const FindEntry dir = One("C:\\Program Files");
    EXPECT_EQ(dir.attributes, attr::kDirectory);
    EXPECT_EQ(dir.shortName, "PROGRA~1");
    EXPECT_EQ(dir.size, 0u);
    EXPECT_EQ(One("D:\\SETUP.EXE").attributes, attr::kReadOnly);  // CD files are read-only
    EXPECT_EQ(One("D:\\I386").attributes, attr::kReadOnly | attr::kDirectory);
    auto dots = m().FindFiles("C:\\WINNT\\*");
    ASSERT_TRUE(dots.ok());
    EXPECT_EQ((*dots)[0].fullPath, "C:\\WINNT\\.");
    EXPECT_EQ((*dots)[0].attributes, attr::kDirectory);
}

TEST_F(FileSystemTest, ShortNamesFindAndNameFiles) {
    // Given names are reserved first, then names are generated in name order.
    EXPECT_EQ(One("C:\\Program Fun").shortName, "FUN");
    EXPECT_EQ(One("C:\\Programs and more").shortName, "PROGRA~2");
    EXPECT_EQ(One("C:\\PROGRA~2\\x.txt").fullPath, "C:\\PROGRA~2\\x.txt");
    EXPECT_EQ(One("C:\\fun").name, "Program Fun");
    // A pattern also matches the short name, as on Windows: INDEX~1.HTM.
    EXPECT_EQ(Names("C:\\*.htm"), (Names_{"index.html"}));
    EXPECT_EQ(m().ShortPathName("c:\\program files\\X.TXT").value(), "c:\\PROGRA~1\\X.TXT");
    EXPECT_EQ(m().ShortPathName("C:\\Programs and more\\").value(), "C:\\PROGRA~2\\");
    EXPECT_EQ(m().ShortPathName("C:\\WINNT\\win.ini").value(), "C:\\WINNT\\win.ini");
    EXPECT_EQ(m().ShortPathName("C:\\WINNT\\none.ini").error(), err::kFileNotFound);
    EXPECT_EQ(m().ShortPathName("C:\\None\\none.ini").error(), err::kPathNotFound);
    EXPECT_EQ(m().ShortPathName("C:\\*").error(), err::kInvalidName);
}

TEST_F(FileSystemTest, ExactNamesFindTheirEntry) {
    struct Case {
        const char* path;
        Names_ names;
    };
    const Case cases[] = {
        {"C:\\WINNT\\KERNEL32.dll", {"kernel32.dll"}},
        {"C:\\winnt\\temp", {"Temp"}},        // a directory by its name
        {"C:\\PROGRA~1", {"Program Files"}},  // by a generated short name
        {"C:\\fun", {"Program Fun"}},         // by a given short name
        {"C:\\INDEX~1.HTM", {"index.html"}},
        {"C:\\WINNT\\README.", {"README"}},  // a trailing dot also finds the name without it
        {"C:\\WINNT\\win.ini.", {"win.ini"}},
        {"C:\\WINNT\\a.b.dll", {"a.b.dll"}},
        {"C:\\WINNT\\notes.txt", {"error 2"}},  // only a prefix of notes.txt.bak
        {"C:\\WINNT\\win", {"error 2"}},
        {"C:\\WINNT\\.gitkeep", {"error 2"}},
        {"C:\\WINNT\\Temp\\.gitkeep", {"error 2"}},  // placeholders are no files of the machine
        {"C:\\PROGRA~3", {"error 2"}},
        {"C:\\NoDir\\win.ini", {"error 3"}},
        {"C:\\WINNT\\win.ini\\x", {"error 3"}},
    };
    for (const Case& c : cases) EXPECT_EQ(Names(c.path), c.names) << c.path;
}

TEST_F(FileSystemTest, VersionLookupsOfFilesWithoutAnImage) {
    t_.Write("drives/c/WINNT/fake.dll", std::string("MZ") + std::string(200, '\0'));
    t_.Write("drives/c/WINNT/text.dll", std::string(200, 'x'));
    struct Case {
        const char* path;
        WinError error;
    };
    const Case cases[] = {
        {"D:\\SETUP.EXE", err::kResourceTypeNotFound},        // "MZ" and nothing else
        {"C:\\WINNT\\fake.dll", err::kResourceTypeNotFound},  // a DOS header pointing nowhere
        {"C:\\WINNT\\text.dll", err::kResourceTypeNotFound},
        {"C:\\WINNT\\system.ini", err::kResourceTypeNotFound},  // empty
        {"C:\\WINNT\\none.dll", err::kFileNotFound},
        {"C:\\WINNT\\Temp", err::kAccessDenied},
        {"C:\\None\\none.dll", err::kPathNotFound},
    };
    for (const Case& c : cases) EXPECT_EQ(m().FileVersion(c.path).error(), c.error) << c.path;
}

TEST_F(FileSystemTest, CodePageNames) {
    EXPECT_EQ(One("C:\\CAF\xC9.TXT").name, "Caf\xE9.txt");
    EXPECT_EQ(One("C:\\caf?.txt").name, "Caf\xE9.txt");
}

TEST_F(FileSystemTest, ReadsFiles) {
    auto file = m().OpenForRead("win.ini.");  // relative to C:\WINNT; trailing dots dropped
    ASSERT_TRUE(file.ok());
    EXPECT_EQ((*file)->Size(), 10u);
    char buffer[16] = {};
    EXPECT_EQ((*file)->Read(buffer, 4).value(), 4u);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    EXPECT_TRUE((*file)->Seek(8).ok());
    EXPECT_EQ((*file)->Read(buffer, 16).value(), 2u);
    EXPECT_EQ(std::string(buffer, 2), "89");
    EXPECT_EQ((*file)->Read(buffer, 16).value(), 0u);
    EXPECT_TRUE((*file)->Seek(100).ok());
    EXPECT_EQ((*file)->Read(buffer, 16).value(), 0u);
    EXPECT_EQ(m().OpenForRead("C:\\WINNT").error(), err::kAccessDenied);
    EXPECT_EQ(m().OpenForRead("C:\\").error(), err::kAccessDenied);
    EXPECT_EQ(m().OpenForRead("C:\\WINNT\\none").error(), err::kFileNotFound);
    EXPECT_EQ(m().OpenForRead("C:\\none\\none").error(), err::kPathNotFound);
    EXPECT_EQ(m().OpenForRead("C:\\WINNT\\*.ini").error(), err::kInvalidName);
    EXPECT_EQ(m().OpenForRead("A:\\x").error(), err::kNotReady);
}

TEST_F(FileSystemTest, VolumesAndSpace) {
    EXPECT_EQ(m().Volume("C:\\").value().label, "SYSTEM");
    EXPECT_EQ(m().Volume("c:").value().serialNumber, 0x2C418E07u);
    EXPECT_EQ(m().Volume("D:\\").value().fileSystem, "CDFS");
    EXPECT_EQ(m().Volume("C:\\WINNT\\").error(), 144u);
    EXPECT_EQ(m().Volume("Q:\\").error(), err::kPathNotFound);
    EXPECT_EQ(m().Volume("A:\\").error(), err::kNotReady);
    const DiskSpace space = m().FreeSpace("C:\\WINNT").value();
    EXPECT_EQ(space.freeBytesToCaller, 1000u);
    EXPECT_EQ(space.totalBytes, 5000u);
    EXPECT_EQ(space.totalFreeBytes, 1000u);
    EXPECT_EQ(m().FreeSpace("C:\\Nothing\\").error(), err::kPathNotFound);
    EXPECT_EQ(m().FreeSpace("A:\\").error(), err::kNotReady);
    EXPECT_EQ(m().FreeSpace("Q:\\").error(), err::kPathNotFound);
    EXPECT_EQ(m().DriveType(""), drive::kFixed);  // the current drive
    EXPECT_EQ(m().DriveType("C:\\WINNT"), drive::kNoRootDir);
    EXPECT_EQ(m().DriveType("e:"), drive::kFixed);
    EXPECT_EQ(m().LogicalDrives(), (Names_{"A:\\", "C:\\", "D:\\", "E:\\"}));
}

// Host symbolic links under drives/ are reparse points; they are followed only
// inside the machine folder.
class ReparseTest : public FileSystemTest {
protected:
    void SetUp() override {
        FileSystemTest::SetUp();
        std::error_code ec;
        fs::create_directory_symlink(t_.root() / "drives/c/WINNT", t_.root() / "drives/c/Junction", ec);
        if (!ec) fs::create_symlink(t_.root() / "drives/c/boot.ini", t_.root() / "drives/c/boot.lnk", ec);
        if (!ec) fs::create_directory_symlink(fs::temp_directory_path(), t_.root() / "drives/c/Outside", ec);
        if (!ec) fs::create_symlink(t_.root() / "drives/c/missing", t_.root() / "drives/c/Dangling", ec);
        if (ec) GTEST_SKIP() << "the host cannot create symbolic links: " << ec.message();
    }
};

TEST_F(ReparseTest, LinksAreReparsePoints) {
    const FindEntry junction = One("C:\\Junction");
    EXPECT_EQ(junction.attributes, attr::kReparsePoint | attr::kDirectory);
    EXPECT_EQ(One("C:\\Junction\\win.ini").size, 10u);
    EXPECT_EQ(One("C:\\boot.lnk").attributes, attr::kReparsePoint | attr::kArchive);
    EXPECT_EQ(One("C:\\boot.lnk").size, 0u);
    auto link = m().OpenForRead("C:\\boot.lnk");
    ASSERT_TRUE(link.ok());
    EXPECT_EQ((*link)->Size(), 15u);
}

TEST_F(ReparseTest, LinkToAFifoIsShownButNeverOpened) {
    const fs::path fifo = t_.root() / "pipe";
    if (!kavlo::testing::MakeHostFifo(fifo)) GTEST_SKIP() << "the host cannot make a FIFO";
    fs::create_symlink(fifo, t_.root() / "drives/c/pipe.dll");
    EXPECT_EQ(One("C:\\pipe.dll").attributes, attr::kReparsePoint | attr::kArchive);
    // Opening the FIFO would block until a writer comes: these must return at once.
    EXPECT_EQ(m().OpenForRead("C:\\pipe.dll").error(), err::kFileNotFound);
    EXPECT_EQ(m().FileVersion("C:\\pipe.dll").error(), err::kFileNotFound);
}

TEST_F(ReparseTest, LinksLeavingTheMachineAreNotFollowed) {
    EXPECT_EQ(One("C:\\Outside").attributes, attr::kReparsePoint | attr::kArchive);
    EXPECT_EQ(Names("C:\\Outside\\*"), (Names_{"error 3"}));
    EXPECT_EQ(m().OpenForRead("C:\\Outside").error(), err::kFileNotFound);
    EXPECT_EQ(One("C:\\Dangling").attributes, attr::kReparsePoint | attr::kArchive);
    EXPECT_EQ(m().OpenForRead("C:\\Dangling").error(), err::kFileNotFound);
}

}  // namespace
}  // namespace kavlo::platform::sim
