// The service and process probes on a simulated machine whose user is an
// ordinary member of Users: status rows, accounts, rights, test starts, the
// running and start-up programs and process counters.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

using kavlo::testing::Outline;
using ::testing::StartsWith;

constexpr std::string_view kMachine = R"(
[logon]
user = pat
domain = TESTPC
sid = S-1-5-21-1-2-3-1004
local_groups = Users
[security C:\]
sddl = D:(A;OICI;FA;;;SY)(A;OICI;0x1200A9;;;BU)
[security service Host]
sddl = D:(A;;0x2019D;;;BU)(A;;0xF01FF;;;SY)
[security service Fails]
sddl = D:(A;;0x2019D;;;BU)
[security service Exits]
sddl = D:(A;;0x2019D;;;BU)
[security service Hangs]
sddl = D:(A;;0x2019D;;;BU)
[security service Helper]
sddl = D:(A;;0x2019D;;;BU)
[service Watcher]
state = paused
exit_code = 1066
specific_exit_code = 32
[service Fails]
on_start = fails 1069
[service Exits]
on_start = exits 42
[service Hangs]
on_start = hangs
wait_hint = 4000
[file C:\Apps\host.exe]
modified = 2001-02-14 08:00:00
[process 4]
access = denied
[process 100]
image = \??\C:\Apps\host.exe
modules = C:\WINNT\system32\kernel32.dll
memory = 12 4096 2048 1 2 3 4 5 6
counters = % Processor Time = 7 | Handle Count = 40
[process 200]
image = C:\Apps\hostess.exe
counters = Handle Count = 50
[process 300]
image = C:\Apps\other.exe
[window 1]
process = 100
title = Host
visible = yes
[window 2]
process = 100
title = Call
visible = yes
parent = Host - waiting
[window 3]
process = 200
title = Tray
visible = no
has_child = yes
[window 4]
process = 200
title = Hidden without child
visible = no
)";

constexpr std::string_view kServices = R"([HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Spooler]
"Type"=dword:00000110
"Start"=dword:00000002
"ImagePath"="%SystemRoot%\\system32\\spoolsv.exe"
"DisplayName"="Print Spooler"
"ObjectName"="LocalSystem"
"Group"="SpoolerGroup"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Host]
"Type"=dword:00000010
"Start"=dword:00000003
"ImagePath"="\"C:\\Apps\\host.exe\" -service"
"DisplayName"="Host service"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Watcher]
"Type"=dword:00000010
"Start"=dword:00000002
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Fails]
"Type"=dword:00000010
"Start"=dword:00000003
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Exits]
"Type"=dword:00000010
"Start"=dword:00000003
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Hangs]
"Type"=dword:00000010
"Start"=dword:00000003
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Helper]
"Type"=dword:00000010
"Start"=dword:00000004
"DisplayName"="Disabled helper"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Drv]
"Type"=dword:00000001
"Start"=dword:00000001
"ImagePath"="System32\\DRIVERS\\drv.sys"
[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Drv\Enum]
"Count"=dword:00000001
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Run]
"App"="C:\\Prog\\App.EXE /min"
[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders]
"Common Startup"="C:\\Startup"
)";

// Shell links with a local path in their link information, in the ANSI and the Unicode form.
std::string ShellLink(std::string_view name) {
    return kavlo::testing::ReadAll(std::string(KAVLO_TEST_SOURCE_DIR) + "/platform/sim/fuzz/shell_link_corpus/" +
                                   std::string(name));
}

class ServiceProbes : public ::testing::Test {
protected:
    ServiceProbes() : image(std::string(kavlo::testing::kMinimalSystem) + std::string(kMachine)) {
        image.Registry("62-services", kServices);
        image.DriveFile("Apps/host.exe", "MZ");
        image.DriveFile("Prog/App.exe", "MZ");
        image.DriveFile("Program/readme.txt", "x");
        image.DriveFile("Program Files/Quorvane/MIRROLET/MIRROLET32.EXE", "MZ");
        image.DriveFile("Startup/App.lnk", ShellLink("unicode_local.lnk"));
        image.DriveFile("Startup/Host.lnk", ShellLink("ansi_local.lnk"));
    }
    std::string Text(std::string_view kind, std::string_view body) { return image.Run(kind, body).text; }
    testing::SimImage image;
};

TEST_F(ServiceProbes, StatusRows) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Spooler,SNAME,SSTATUS,SSTARTTYPE", "Print Spooler,Running,Automatic\n"},
        {"NoSuchService,SNAME,SERROR,SSTATUS",
         "NoSuchService,The specified service does not exist as an installed service.\r, \n"},
        {"Spooler", " \n"},
        {"Host,SSTATUS,SERROR", " ,The service has not been started.\r\n"},
        {"Watcher,SSTATUS,SERROR", "Paused,Specific error code 32\n"},
        {"Spooler,SERVTYPE,SSTARTNAME,SFILEPATH,SLOADORDERGROUP,STAGID,XKEY",
         "Own Process interacts with desktop,LocalSystem,%SystemRoot%\\system32\\spoolsv.exe,SpoolerGroup,0, \n"},
        {"Drv,SERVTYPE,SSTARTTYPE,SSTARTNAME", "Device Driver,IoInitSystem() Function, \n"},
        // The quotes and arguments of the command line are not part of the file.
        {"Host,SFILERIGHTS",
         "NT AUTHORITY\\SYSTEM allowed rights: +R+W+X+D+P+O\n\nBUILTIN\\Users allowed rights: +R-W+X-D-P-O\n\n\n"},
    };
    for (const auto& [argument, row] : cases)
        EXPECT_EQ(Text("col", "CServiceStatus:" + std::string(argument)), row) << argument;
}

TEST_F(ServiceProbes, AccountsAndDesktop) {
    EXPECT_EQ(Text("text", "ServiceConfg:Spooler,StartName"), "LocalSystem");
    EXPECT_EQ(Text("text", "ServiceConfg:Spooler"), "");
    EXPECT_EQ(Text("text", "ServiceConfg:Nope,StartName"),
              "Can not determine configuration of service Nope error - The specified service does not exist as an "
              "installed service.\r\n\n");
    EXPECT_EQ(Text("col", "ServiceConfg:Nope,StartName"), "");
    EXPECT_EQ(Text("text", "ServiceInteracts:Spooler\nServiceInteracts:Host"), "Yes\nNo\n");
}

TEST_F(ServiceProbes, RightsOfTheUsersGroupsFilteredByName) {
    EXPECT_EQ(Text("text", "MyServiceRights:Host,START,STOP"),
              "Users:   Yes - START   No - STOP \n"
              "\nLocalSystem's file access rights to MIRROLETHOST32.EXE: +R+W+X+D+P+O\n"
              "\nChecking for PROGRAM file and directory:\nC:\\Program   [Directory]\n");
}

TEST_F(ServiceProbes, StartProtocols) {
    const std::string opened = "Service Control Manager - Opened\nOpen Service for execution - Opened\n";
    const std::pair<std::string_view, std::string> cases[] = {
        {"Host", opened + "Starting Service - Started\nService has successfully started\n"},
        {"Fails", opened + "Starting Service - The service did not start due to a logon failure.\r\n\n"},
        {"Exits", opened + "Starting Service - Started\nService has errored with service specific code - 42\n"},
        // Still start-pending when the wait is over.
        {"Hangs", opened + "Starting Service - Started\nService has not started, no exit code information.\n"},
        {"Host", opened + "Starting Service - An instance of the service is already running.\r\n\n"},
        {"Helper", opened + "Starting Service - The service cannot be started, either because it is disabled or "
                            "because it has no enabled devices associated with it.\r\n\n"},
        // Users may query a service with Windows' default access list but not start it.
        {"Spooler", "Service Control Manager - Opened\nOpen Service for execution - Access is denied.\r\n\n"},
    };
    for (const auto& [name, protocol] : cases) EXPECT_EQ(Text("text", "StartService:" + std::string(name)), protocol);
    // The start changed the state in memory.
    EXPECT_EQ(Text("col", "CServiceStatus:Host,SSTATUS"), "Running\n");
}

// Taskbar and tray windows, every process with its modules and memory (the
// denied one without), the drivers, and the services by state without the
// disabled helper.
TEST_F(ServiceProbes, RunningProgramsTree) {
    probe_test::ExpectSameAsFile(probe_test::OutlineBelow(image.Run("tree", "RunningApps:").Root()),
                                 "probes/services/tests/expected/running_apps.txt");
}

TEST_F(ServiceProbes, StartUpProgramsByRunValueAndShortcutTarget) {
    const std::string text = Text("filelist,Started by,20,Entry,20,File,40\nFNAMEPATH\nA,A,A", "StartUpApps:");
    EXPECT_EQ(text,
              "0,Registry - Run,App,c:\\prog\\app.exe,\n"
              "0,Startup - All Users,App.exe,c:\\prog\\app.exe,\n"
              "0,Startup - All Users,MIRROLET32.EXE,c:\\program files\\quorvane\\mirrolet\\mirrolet32.exe,\n");
}

TEST_F(ServiceProbes, CountersOfProcessesWhoseNameBeginsWithTheProgram) {
    EXPECT_EQ(Text("col", "CPerfMonExe:host,Process,% Processor Time,Handle Count"),
              "host.exe,7,40\nhostess.exe,,50\n");
    EXPECT_EQ(Text("col", "CPerfMon:Thread,Handle Count"), "");
}

TEST(ServiceProbes9x, TasksFromTheToolHelpSnapshotAndNoServiceOutput) {
    testing::SimImage image(probe_test::MinimalSystem("9x", 4, 10) +
                            "[process 5]\nimage = C:\\WINDOWS\\EXPLORER.EXE\nmodules = C:\\WINDOWS\\KERNEL32.DLL\n");
    const ResultNode& root = image.Run("tree", "RunningApps:").Root();
    ASSERT_EQ(root.children().size(), 4u);
    const ResultNode& tasks = *root.children()[2];
    EXPECT_EQ(tasks.title(), "All Tasks");
    ASSERT_EQ(tasks.children().size(), 1u);
    const ResultNode& modules = *tasks.children()[0]->children().at(1);
    EXPECT_EQ(modules.title(), "Process Modules");
    EXPECT_EQ(modules.children().at(1)->title(), "KERNEL32.DLL");
    EXPECT_EQ(root.children()[3]->children().size(), 2u);
    EXPECT_EQ(image.Run("text", "CServiceStatus:Spooler,SNAME\nStartService:Spooler\nCPerfMon:Process,X").text, "");
}

}  // namespace
}  // namespace kavlo
