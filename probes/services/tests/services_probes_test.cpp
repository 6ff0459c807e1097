// The service and process probes on a simulated machine (tests/data/machine)
// whose user is an ordinary member of Users: status rows, accounts, rights,
// test starts, the running and start-up programs and process counters.
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

// Loaded afresh for each test: a start changes the machine's state in memory.
class ServiceProbes : public ::testing::Test {
protected:
    TitleRecord& Run(std::string_view kind, std::string_view body) { return folder.Run(kind, body); }
    std::string Text(std::string_view kind, std::string_view body) { return Run(kind, body).text; }

    probe_test::MachineFolder folder{"probes/services/tests/data/machine"};
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
    probe_test::ExpectSameAsFile(probe_test::OutlineBelow(Run("tree", "RunningApps:").Root()),
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
    // The process with its modules under "All Tasks"; no services, no drivers.
    probe_test::ExpectSameAsFile(probe_test::OutlineBelow(image.Run("tree", "RunningApps:").Root()),
                                 "probes/services/tests/expected/running_apps_9x.txt");
    EXPECT_EQ(image.Run("text", "CServiceStatus:Spooler,SNAME\nStartService:Spooler\nCPerfMon:Process,X").text, "");
}

}  // namespace
}  // namespace kavlo
