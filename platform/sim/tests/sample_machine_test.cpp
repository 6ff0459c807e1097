// The bundled sample machine loads and answers as the Windows 2000 PC it describes.
#include <gtest/gtest.h>

#include "platform/sim/sim_machine.h"

namespace kavlo::platform::sim {
namespace {

std::unique_ptr<Machine> LoadSample() {
    LoadResult loaded = LoadMachine(std::string(KAVLO_TEST_SOURCE_DIR) + "/samples/office7");
    EXPECT_EQ(loaded.error, "");
    return std::move(loaded.machine);
}

TEST(SampleMachine, SystemFacts) {
    auto m = LoadSample();
    ASSERT_TRUE(m);
    const OsVersion v = m->Version();
    EXPECT_EQ(v.platform, os_platform::kNt);
    EXPECT_EQ(v.major, 5u);
    EXPECT_EQ(v.minor, 0u);
    EXPECT_EQ(v.build, 2195u);
    EXPECT_EQ(v.servicePack, "Service Pack 2");
    EXPECT_EQ(m->ComputerName(), "OFFICE7");
    EXPECT_EQ(m->HostName().value(), "office7");
    EXPECT_EQ(m->WindowsDirectory(), "C:\\WINNT");
    EXPECT_EQ(m->SystemDirectory(), "C:\\WINNT\\system32");
    EXPECT_EQ(m->AnsiCodePage(), 1252u);
    const LocalTime now = m->Now();
    EXPECT_EQ(now.year, 2002);
    EXPECT_EQ(now.month, 5);
    EXPECT_EQ(now.day, 14);
    EXPECT_EQ(now.dayOfWeek, 2);  // a Tuesday
}

TEST(SampleMachine, RegistryKeysOfWindows2000) {
    auto m = LoadSample();
    ASSERT_TRUE(m);
    auto nt = m->OpenKey(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
    ASSERT_TRUE(nt.ok());
    EXPECT_EQ((*nt)->QueryValue("ProductName", 1024).value().data, std::string("Microsoft Windows 2000\0", 23));
    EXPECT_EQ((*nt)->QueryValue("CSDVersion", 1024).value().data, std::string("Service Pack 2\0", 15));
    auto options = m->OpenKey(RegRoot::LocalMachine, "system\\currentcontrolset\\control\\productoptions");
    ASSERT_TRUE(options.ok());
    EXPECT_EQ((*options)->QueryValue("ProductType", 1024).value().data, std::string("WinNT\0", 6));
    // The user's hive was written as UTF-16; its values read back in the ANSI code page.
    auto shell =
        m->OpenKey(RegRoot::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders");
    ASSERT_TRUE(shell.ok());
    const RegValue appData = (*shell)->QueryValue("AppData", 1024).value();
    EXPECT_EQ(appData.type, regtype::kExpandSz);
    EXPECT_EQ(appData.data, std::string("%USERPROFILE%\\Application Data\0", 31));
    auto txt = m->OpenKey(RegRoot::ClassesRoot, ".txt");
    ASSERT_TRUE(txt.ok());
    EXPECT_EQ((*txt)->QueryValue("", 100).value().data, std::string("txtfile\0", 8));
}

TEST(SampleMachine, FilesAndDrives) {
    auto m = LoadSample();
    ASSERT_TRUE(m);
    auto found = m->FindFiles("C:\\WINNT\\*.ini");
    ASSERT_TRUE(found.ok());
    ASSERT_EQ(found->size(), 2u);
    EXPECT_EQ((*found)[0].name, "system.ini");
    EXPECT_EQ((*found)[0].fullPath, "C:\\WINNT\\system.ini");
    EXPECT_EQ((*found)[1].name, "win.ini");
    EXPECT_EQ((*found)[1].lastWrite.year, 2001);
    EXPECT_EQ(m->DriveType("C:\\"), drive::kFixed);
    EXPECT_EQ(m->DriveType("D:\\"), drive::kCdRom);
    EXPECT_EQ(m->DriveType("A:\\"), drive::kRemovable);
    EXPECT_EQ(m->DriveType("Q:\\"), drive::kNoRootDir);
    EXPECT_EQ(m->Volume("A:\\").error(), err::kNotReady);
    EXPECT_EQ(m->Volume("C:\\").value().fileSystem, "NTFS");
    const std::vector<std::string> drives = m->LogicalDrives();
    EXPECT_EQ(drives, (std::vector<std::string>{"A:\\", "C:\\", "D:\\", "E:\\"}));
    EXPECT_EQ(m->ShortPathName("C:\\Documents and Settings\\jmiller\\Local Settings\\Temp").value(),
              "C:\\DOCUME~1\\jmiller\\LOCALS~1\\Temp");
    EXPECT_EQ(m->ShellFolder(0x1A).value(), "C:\\Documents and Settings\\jmiller\\Application Data");
}

}  // namespace
}  // namespace kavlo::platform::sim
