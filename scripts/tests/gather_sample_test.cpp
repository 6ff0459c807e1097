// Gathers the sample machine with the bundled scripts and checks what support
// looks at first: the system, a file version, the products' settings, their
// logs and trees. Facts of probes that are not built yet are skipped.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "probes/registration.h"
#include "engine/os_detection.h"
#include "engine/script_engine.h"
#include "engine/script_catalog.h"
#include "platform/machine_factory.h"
#include "scripts/tests/bundled.h"

namespace kavlo::scripts_test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

class SampleGathered : public ::testing::Test {
protected:
    // One report of the whole sample machine, saved and opened again, so that
    // every fact below is one that a support engineer reads in the report file.
    static void SetUpTestSuite() {
        platform::MachineChoice choice = platform::OpenMachine(SampleMachineDir());
        ASSERT_TRUE(choice.machine) << choice.error;
        std::string error;
        auto report = std::make_unique<Catalog>(SavedReportOf(std::move(choice.machine), error));
        ASSERT_EQ(error, "");
        catalog_ = report.release();
    }
    static void TearDownTestSuite() {
        delete catalog_;
        catalog_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(catalog_) << "the sample machine did not load"; }

    static const TitleRecord& Title(std::string_view script, std::string_view title) {
        const TitleRecord* found = catalog_->Title(script, title);
        if (!found) throw std::runtime_error(std::string(script) + " - " + std::string(title) + " not catalogued");
        return *found;
    }
    static const std::string& Text(std::string_view script, std::string_view title) {
        return Title(script, title).text;
    }
    static const ResultNode& Node(std::string_view script, std::string_view title, std::string_view node) {
        const ResultNode* found = FindNode(Title(script, title).Root(), node);
        if (!found) throw std::runtime_error(std::string(title) + ": no node \"" + std::string(node) + "\"");
        return *found;
    }
    // The rows of a list title's text.
    static std::vector<std::string> Rows(std::string_view script, std::string_view title) {
        std::vector<std::string> rows;
        const std::string& text = Text(script, title);
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            if (end == std::string::npos) break;
            rows.push_back(text.substr(start, end - start));
            start = end + 1;
        }
        return rows;
    }

    static Catalog* catalog_;
};

Catalog* SampleGathered::catalog_ = nullptr;

#define SKIP_UNLESS_BUILT(command) \
    if (!ProbeBuilt(command)) GTEST_SKIP() << command " is not built yet"

TEST_F(SampleGathered, EveryTitleIsGatheredAndSaved) {
    EXPECT_EQ(catalog_->files.size(), 8u);
    EXPECT_GE(catalog_->TitleCount(), 70u);
    for (const auto& file : catalog_->files)
        for (const auto& title : file->titles)
            EXPECT_EQ(title->runPending, 0) << file->fileName << " - " << title->name;
}

TEST_F(SampleGathered, WindowsVersionAndServicePack) {
    const std::string& text = Text("System", "Windows version");
    EXPECT_THAT(text, HasSubstr("Version: 5.0\n"));
    EXPECT_THAT(text, HasSubstr("Build: 2195\n"));
    EXPECT_THAT(text, HasSubstr("Service pack: Service Pack 2\n"));
    EXPECT_THAT(text, HasSubstr("Product type: Workstation\n"));
    EXPECT_THAT(text, HasSubstr("Windows folder: C:\\WINNT\n"));
    EXPECT_THAT(text, HasSubstr("System folder: C:\\WINNT\\system32\n"));
    EXPECT_THAT(text, Not(HasSubstr("Edition: "))) << "the 9x block ran on Windows 2000";
}

TEST_F(SampleGathered, SystemFileVersionRows) {
    const std::vector<std::string> rows = Rows("System", "System files");
    EXPECT_THAT(rows, Contains(StartsWith("0,kernel32.dll,5.00.2195.4272,04/27/01,")));
    // A file that the image does not hold gives no row at all.
    EXPECT_THAT(rows, Not(Contains(HasSubstr("vmm32.vxd"))));
}

TEST_F(SampleGathered, ProductRegistryValues) {
    const std::string& mirrolet = Text("Mirrolet", "Installation");
    EXPECT_THAT(mirrolet, HasSubstr("Version: 10.0.2\n"));
    EXPECT_THAT(mirrolet, HasSubstr("Installed as: Host and remote\n"));
    EXPECT_THAT(mirrolet, HasSubstr("Data folder: C:\\Documents and Settings\\All Users\\Application Data\\"
                                    "Quorvane\\MIRROLET\\Data\n"));
    EXPECT_THAT(mirrolet, HasSubstr("Host settings key: Present\n"));
    const std::string& fernway = Text("Fernway", "Installation");
    EXPECT_THAT(fernway, HasSubstr("Last session: 05/13/2002 20:00:41\n"));
    EXPECT_THAT(fernway, HasSubstr("Result of the last session: Updates installed\n"));
    const std::string& ostrell = Text("Ostrell", "Definitions");
    EXPECT_THAT(ostrell, HasSubstr("Parent server: OSTSRV01\n"));
    EXPECT_THAT(ostrell, HasSubstr("Definitions are out of date: No\n"));
}

TEST_F(SampleGathered, ProductFileVersionRows) {
    // Name, version, date, time, size, description, manufacturer; the dates are
    // the files' own (machine.ini), not the checkout's.
    EXPECT_THAT(Rows("Ostrell", "Program files"),
                Contains("0,ovscan.exe,7.50.846.0,03/12/02,07:50:00  AM,2.0K,Ostrell AntiVirus Scan Service,"
                         "Quorvane,"));
    EXPECT_THAT(Rows("Ostrell", "Program files"), Contains(StartsWith("0,ovengine.dll,4.1.15.0,")));
    EXPECT_THAT(Text("Fernway", "Installation"), HasSubstr("fwsched.exe\t1.80.0.21\t"));
}

TEST_F(SampleGathered, EventLogRowsFoldedWithMessages) {
    const std::vector<std::string> system = Rows("System", "System event log");
    EXPECT_THAT(system, Contains("Warning,5/13/2002,3:10:06 PM,Srv,2013,OFFICE7,"
                                 "The E: disk is at or near capacity.  You may need to delete some files."));
    EXPECT_THAT(system, Contains("DUPLICATES,6,,,,,,"));
    EXPECT_THAT(system, Contains(StartsWith("ERROR,5/14/2002,7:55:30 AM,Service Control Manager,7000,OFFICE7,"
                                            "The OGFX Display Helper service failed to start")));
    // The product's own message file; the record that wrapped to the top of the file.
    EXPECT_THAT(
        Rows("System", "Application event log"),
        Contains("Warning,5/13/2002,11:42:19 AM,Ostrell AntiVirus,5,OFFICE7,"
                 "Threat found in C:\\WINNT\\Temp\\setup.exe: W32.Example.Worm.The file was moved to the quarantine."));
    // Security's parameter file is asked first and does not hold the audit messages.
    EXPECT_THAT(Rows("Security", "Security event log"),
                Contains("Audit Failure,5/14/2002,8:20:44 AM,Security,529, ,OFFICE7,The system cannot find message "
                         "text for message number 0x%1 in the message file for %2."));
}

TEST_F(SampleGathered, ServerRoleAndShares) {
    EXPECT_THAT(Text("Network", "Server role"),
                HasSubstr("Server Type,0x51003\nSV_TYPE_WORKSTATION,All LAN Manager workstations\n"));
    EXPECT_THAT(ChildTitles(Node("Network", "Network configuration", "[D]  Type= 0x51003")),
                Contains("SV_TYPE_MASTER_BROWSER,Server running the master Browser service"));
    EXPECT_THAT(Rows("Network", "Shares"), Contains("C$,C:\\,Default share,Unlimited,0"));
}

TEST_F(SampleGathered, CryptographicProviders) {
    const ResultNode& base =
        Node("Security", "Cryptographic providers", "Microsoft Base Cryptographic Provider v1.0  Ver: 2.0");
    EXPECT_THAT(ChildTitles(base), ElementsAre("Default key container: jmiller", "CSP implementation type: software",
                                               "Available key container(s)"));
    EXPECT_THAT(ChildTitles(Node("Security", "Cryptographic providers", "Unavailable Providers")),
                Contains("CryptAcquireContext Error! Unable to acquire a CSP handle for MS EXCHANGE  Error: "
                         "Provider type not defined."));
}

TEST_F(SampleGathered, InstalledComponentRows) {
    SKIP_UNLESS_BUILT("InstallPath:");
    // A service's binary found through its registry value, and a data folder.
    EXPECT_THAT(Rows("Mirrolet", "Program files"),
                Contains(StartsWith("0,Host service,MIRROLETHOST32.EXE,10.0.2.118,")));
    EXPECT_THAT(Rows("Mirrolet", "Program files"), Contains(StartsWith("0,Data folder,Data,")));
    EXPECT_THAT(Rows("Ostrell", "Installed components"), Contains(StartsWith("0,Tray icon,ovtray.exe,7.50.846.0,")));
}

TEST_F(SampleGathered, InstalledProgramsTree) {
    const ResultNode& uninstall =
        Node("System", "Installed programs", "[D]  HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall");
    const ResultNode* ostrell = FindNode(uninstall, "[D]  {B3F0C6A2-5D4E-4F1A-8C77-2A9E1D6B0C31}");
    ASSERT_TRUE(ostrell);
    EXPECT_THAT(ChildTitles(*ostrell), Contains("DisplayName,Ostrell AntiVirus Corporate Edition"));
    EXPECT_THAT(ChildTitles(*ostrell), Contains("EstimatedSize,0x53e8"));
}

TEST_F(SampleGathered, RegistryTreesWithVariablesWildcardsAndBraces) {
    const ResultNode& realTime = Node("Ostrell", "Settings in the registry", "[D]  RealTime");
    EXPECT_THAT(ChildTitles(realTime), Contains("OnOff,0x1"));
    EXPECT_THAT(ChildTitles(realTime), Contains("FirstAction,0x5"));
    Node("Mirrolet", "Settings in the registry", "[D]  HKLM\\SOFTWARE\\Quorvane\\MIRROLET\\CurrentVersion");
    const ResultNode& clsid =
        Node("Mirrolet", "Automation server", "[D]  HKCR\\CLSID\\{6F3A2C41-8B1D-4E7A-9C52-1D0E7B3F4A90}");
    // Rows stay whole (name, value) so that the saved report keeps the values.
    EXPECT_THAT(ChildTitles(clsid),
                ElementsAre("[D]  LocalServer32", "[D]  ProgID", "[D]  VersionIndependentProgID",
                            ",RemoteDataManager Class", "AppID,{6F3A2C40-8B1D-4E7A-9C52-1D0E7B3F4A90}"));
}

TEST_F(SampleGathered, AntivirusCheckItemsAndValueMaps) {
    // ||03: checked and locked by the parent server; ||04: checked, not locked.
    EXPECT_THAT(
        ChildTitles(Node("Ostrell", "Protection settings", "Real-time protection")),
        ElementsAre("||03Real-time protection enabled", "||04Scan files when opened", "||03Scan files when written",
                    "||01Scan all file types", "||00Show a message on the infected computer",
                    "First action: Clean virus from file", "If the first action fails: Quarantine infected file"));
    EXPECT_THAT(ChildTitles(Node("Ostrell", "Protection settings", "Scheduled scan")),
                ElementsAre("||02Scheduled scan enabled", "Runs: Weekly", "||02Scans every local drive"));
    EXPECT_THAT(ChildTitles(Node("Ostrell", "Configuration", "Management")),
                Contains("Type of install: Managed client"));
}

TEST_F(SampleGathered, WhoRunsTheReportAndWhatTheyMayDo) {
    SKIP_UNLESS_BUILT("LogonInfo:");
    const std::string& logon = Text("Security", "Logged-on user");
    EXPECT_THAT(logon, HasSubstr("SID: S-1-5-21-1004336348-1177238915-682003330-1004\n"));
    EXPECT_THAT(logon, HasSubstr("Member of global groups: \n"));
    // The host cannot write its logs: Users are denied writing there.
    const ResultNode& shared =
        Node("Security", "Folder permissions", "C:\\Documents and Settings\\All Users\\Application Data\\Quorvane");
    const ResultNode* mirrolet = FindNode(shared, "[D]  MIRROLET");
    ASSERT_TRUE(mirrolet);
    const ResultNode* logRights = FindNode(*mirrolet, "[D]  Logs");
    ASSERT_TRUE(logRights);
    EXPECT_THAT(ChildTitles(*FindNode(*logRights, "Rights")), Contains("BUILTIN\\Users denied rights: -R+W-X-D-P-O\n"));
    // The product key lets jmiller (in Users) set values.
    EXPECT_THAT(ChildTitles(Node("Security", "Registry key permissions", "[D] Effective -OFFICE7\\jmiller")),
                Contains(StartsWith("Set Value")));
    EXPECT_THAT(ChildTitles(Node("Security", "DCOM default security", "[D] Default Access Permission")),
                ElementsAre(StartsWith("Error")));
    EXPECT_THAT(Text("Security", "Access lists"), HasSubstr("No access rights to list as drive is FAT32\n"));
}

TEST_F(SampleGathered, RemoteControlHostOptionsFromItsOptionFile) {
    EXPECT_THAT(ChildTitles(Node("Mirrolet", "Host options", "Start-up")),
                ElementsAre("||00Launch the host with Windows", "||00Run the host minimized", "Host name: OFFICE7"));
    // Encryption is on and connections are confirmed: neither warning block runs.
    EXPECT_THAT(ChildTitles(Node("Mirrolet", "Host options", "Security")),
                ElementsAre("Encryption: Symmetric key", "||00Ask the user to confirm each connection",
                            "||01Lock keyboard and mouse during a session", "||03Caller may blank the host's screen"));
    // An interrupted session locks the computer (3): the "<,2" block runs, the ">,1" block does not.
    EXPECT_THAT(
        ChildTitles(Node("Mirrolet", "Host options", "End of session")),
        ElementsAre("After a session: Wait for the next call", "After an interrupted session: Lock the computer",
                    "The computer is secured when a session breaks off"));
}

TEST_F(SampleGathered, UpdateSchedulerAndConnectionSection) {
    EXPECT_THAT(ChildTitles(Node("Fernway", "Scheduler", "Automatic updates")),
                ElementsAre("||00Automatic updates enabled", "Runs: Weekly", "||01Asks the user before installing",
                            "||02Retries a failed session the next day"));
    const std::string& settings = Text("Fernway", "Connection settings");
    EXPECT_THAT(settings, StartsWith("From the current settings file:\n\n[Connection]\nMethod=0\n"));
    EXPECT_THAT(settings, HasSubstr("[Proxy]\nUse=1\nServer=proxy.office7.example\n"));
    EXPECT_THAT(settings, HasSubstr("[Server]\n"));
    EXPECT_THAT(settings, Not(HasSubstr("[Schedule]")));
}

TEST_F(SampleGathered, AntivirusLogFolderTree) {
    const ResultNode& logs = Node("Ostrell", "Log and data folders", "[D]  Logs");
    ASSERT_EQ(logs.children().size(), 3u);
    EXPECT_EQ(logs.children()[2]->title(), "05132002.Log       545       05/14/02       08:00:04  AM       ");
    // Rows are the name, the size and the date, separated by seven blanks.
    for (const auto& row : logs.children()) {
        const std::string& title = row->title();
        EXPECT_TRUE(title.size() > 13 && title.find_first_not_of("0123456789") == 8 &&
                    title.compare(8, 11, ".Log       ") == 0)
            << title;
    }
}

TEST_F(SampleGathered, UpdateProductSettingsAndBackups) {
    SKIP_UNLESS_BUILT("TETFernwaySettingsLog:");
    const ResultNode& root = Title("Fernway", "Settings and logs").Root();
    EXPECT_THAT(ChildTitles(root), ElementsAre("[D]  Default", "[D] Current", "[D] Backup - 1", "[D] Backup - 2"));
    const ResultNode& current = Node("Fernway", "Settings and logs", "[D] Current");
    EXPECT_THAT(ChildTitles(current),
                ElementsAre("[D] Settings.Fernway", "[D] Product.Catalog.Fernway", "[D] Log.Fernway"));
    const ResultNode& log = *current.children().at(2);
    ASSERT_EQ(log.children().size(), 1u);
    EXPECT_THAT(log.children()[0]->title(), HasSubstr("Session ended: updates installed\n"));
}

TEST_F(SampleGathered, AntivirusLogs) {
    SKIP_UNLESS_BUILT("COstrell7Log:");
    const std::vector<std::string> virus = Rows("Ostrell", "Virus log");
    ASSERT_EQ(virus.size(), 4u);
    EXPECT_THAT(virus, Contains(HasSubstr(",invoice.exe,W32.Marsh.Worm,File,Quarantined,OFFICE7,")));
    EXPECT_THAT(virus, Contains(HasSubstr(",<A:>,Boot.Tarnow,Boot Sector,Left alone,")));
    const std::vector<std::string> events = Rows("Ostrell", "Event log");
    EXPECT_EQ(events.size(), 11u);
    EXPECT_THAT(events, Contains(HasSubstr(",Definition Update,OFFICE7,")));
}

TEST_F(SampleGathered, AntivirusConfigurationEntries) {
    SKIP_UNLESS_BUILT("TCOstrell7Main:");
    EXPECT_THAT(ChildTitles(Node("Ostrell", "Configuration", "Installation")),
                ElementsAre("Parent server,OSTSRV01, ", "Product Version,7.50.846, ", "Scan Engine,4.1.15.0, ",
                            "Ostrell AntiVirus Corporate Edition"));
}

TEST_F(SampleGathered, AntivirusAddressCache) {
    SKIP_UNLESS_BUILT("DspAddressCache:");
    const ResultNode& server = Node("Ostrell", "Address cache", "[D]  OSTSRV01");
    EXPECT_THAT(ChildTitles(server), Contains("IP Address,192.168.10.5, "));
    EXPECT_THAT(ChildTitles(server), Contains("UDP Port,2847, "));
    EXPECT_THAT(ChildTitles(server), Contains("Server Type,Primary,, "));
}

TEST_F(SampleGathered, MemoryDrivesAndDisplayAdapter) {
    const std::vector<std::string> memory = Rows("System", "Memory");
    EXPECT_THAT(memory, Contains("Physical Memory,268.0MB,152.7MB,115.2MB"));
    EXPECT_THAT(memory, Contains("PagedPoolSize,0, , ,"));
    EXPECT_THAT(memory, Contains("software,40.9K,, , "));
    const std::vector<std::string> drives = Rows("System", "Drives and swap file");
    EXPECT_THAT(drives, Contains("0,Drive,C:\\,HardDrive,NTFS,7.3G Avail,"));
    EXPECT_THAT(drives, Contains("0,Swap File,,,,497.3MB avail"));
    const std::string& display = Text("Hardware", "Display adapter");
    EXPECT_THAT(display, HasSubstr("Description:\tOffice Graphics 3D AGP\n"));
    EXPECT_THAT(display, HasSubstr("Video Memory:\t16\n"));
    EXPECT_THAT(display, HasSubstr("ogfx.sys, ogfx.dll\n"));
}

TEST_F(SampleGathered, StartUpPrograms) {
    SKIP_UNLESS_BUILT("StartUpApps:");
    EXPECT_THAT(Rows("System", "Start-up programs"),
                Contains(StartsWith("0,Registry - Run,OstTray,c:\\program files\\quorvane\\ostrell antivirus\\"
                                    "ovtray.exe,7.50.846.0,")));
    EXPECT_THAT(Rows("System", "Start-up programs"),
                Contains(StartsWith("0,Registry - Run,FernwayScheduler,c:\\program files\\quorvane\\fernway\\"
                                    "fwsched.exe,1.80.0.21,")));
}

TEST_F(SampleGathered, ServicesAndRunningPrograms) {
    SKIP_UNLESS_BUILT("CServiceStatus:");
    EXPECT_THAT(Rows("Ostrell", "Services"),
                Contains("Ostrell AntiVirus Scan Service,Running,Automatic,LocalSystem,No error,"
                         "C:\\Program Files\\Quorvane\\Ostrell AntiVirus\\ovscan.exe"));
    EXPECT_THAT(Rows("Services", "Windows services"),
                Contains(StartsWith("TCP/IP Protocol Driver,Running,IoInitSystem() Function,Device Driver,")));
    EXPECT_THAT(Rows("Mirrolet", "Service status"), Contains(StartsWith("MIRROLET Host, ,Manual,")));
    EXPECT_THAT(Text("Mirrolet", "Host service"),
                HasSubstr("Users:   Yes - QUERY_CONFIG, QUERY_STATUS, START, INTERROGATE   No - STOP \n"));
    EXPECT_THAT(Rows("Mirrolet", "Host performance"), ElementsAre("MIRROLETHOST32.EXE,3,3903488,97,5"));
    EXPECT_THAT(ChildTitles(Node("System", "Running programs", "Systray Applications")),
                ElementsAre("Ostrell AntiVirus"));
    const ResultNode& stopped = Node("System", "Running programs", "Stopped...");
    EXPECT_THAT(ChildTitles(stopped), Contains("Ostrell Definition Watcher"));
    EXPECT_THAT(ChildTitles(stopped), Not(Contains("OGFX Display Helper"))) << "disabled";
    EXPECT_THAT(Rows("System", "Start-up programs"),
                Contains(StartsWith("0,Startup - All Users,MIRROLET32.EXE,c:\\program files\\quorvane\\mirrolet\\"
                                    "mirrolet32.exe,10.0.2.118,")));
}

TEST_F(SampleGathered, RemoteControlCallerFiles) {
    SKIP_UNLESS_BUILT("MIRROLET_CHF:");
    // The LAN caller file uses TCP/IP and is not listed.
    const ResultNode& files = Node("Mirrolet", "Caller files", "MIRROLET32 .CHF files for TAPI modem(s)");
    EXPECT_THAT(ChildTitles(files), ElementsAre("Nightly transfer", "Quorvane support via modem"));
    EXPECT_THAT(ChildTitles(*files.children().at(1)),
                ElementsAre("Standard 56000 bps V90 Modem   57600   8/None   1 stop bit",
                            "Use dial properties - Area code: 617  Phone: 555 0142  Country: United States (1)",
                            "Login name: office7", "Connection attempts: 3", "Seconds between retries: 60",
                            "Run script: QVLOGIN.SCR"));
    EXPECT_THAT(ChildTitles(*files.children().at(0)), Contains("Run AutoXfer: Nightly reports"));
    EXPECT_THAT(ChildTitles(Node("Mirrolet", "IP address order", "IP Address order")), ElementsAre("192.168.10.37"));
}

TEST_F(SampleGathered, ConnectionTable) {
    SKIP_UNLESS_BUILT("CNetstat:");
    const std::vector<std::string> rows = Rows("Network", "Connections");
    EXPECT_THAT(rows, Contains("TCP,office7,4911,0.0.0.0,0,LISTENING"));
    EXPECT_THAT(rows, Contains("TCP,office7,1029,localhost,1030,ESTABLISHED"));
    EXPECT_THAT(rows, Contains("TCP,192.168.10.37 [office7],1034,192.168.10.5 [ostsrv01],2847,ESTABLISHED"));
    EXPECT_THAT(rows, Contains("TCP,192.168.10.37 [office7],1061,192.168.10.4 [proxy.office7.example],8080,LAST_ACK"));
    EXPECT_THAT(rows, Contains("UDP,192.168.10.37 [office7],137 [netbios-ns ],, ,"));
}

// The extended script is not in the catalog; support adds it by hand, so it
// must run as well as the others.
TEST(ExtendedScript, RunsEveryTitleOnTheSampleMachine) {
    platform::MachineChoice choice = platform::OpenMachine(SampleMachineDir());
    ASSERT_TRUE(choice.machine) << choice.error;
    AppContext context(*choice.machine, DetectOs(*choice.machine), ScriptsDir());
    const auto script =
        ScriptCatalog(context, StandardCommandTable()).LoadScript(ScriptsDir() + "/Extended.dbg", "Extended");
    ASSERT_TRUE(script);
    ASSERT_EQ(script->titles.size(), 5u);
    for (const auto& title : script->titles) {
        ScriptEngine engine(context, StandardCommandTable());
        engine.RunTitle(*title);
        EXPECT_EQ(title->runPending, 0) << title->name;
    }
    EXPECT_EQ(script->titles[2]->text,
              "Service Control Manager - Opened\nOpen Service for execution - Opened\nStarting Service - Started\n"
              "Service has successfully started\n");
    EXPECT_EQ(script->titles[3]->name, "PCI devices");
    EXPECT_THAT(script->titles[3]->text, StartsWith("Vendor,device,class,description,manufacturer,notes\n"));
    // Vendor 0x10b is named by its own record, not by the longer key of vendor 0x10b0.
    EXPECT_THAT(script->titles[3]->text, HasSubstr("\n0x10b,0x1,,Tallis Wave PCI,Tallis Audio,\n"));
    EXPECT_THAT(script->titles[3]->text,
                HasSubstr("\n  *** Multifunction PCI device *** 0x10b0,0x7112,,NS4X USB Controller,"));
    EXPECT_EQ(script->titles[4]->text, "Office Graphics 3D AGP, Office Graphics Inc., \n\n");
    const ResultNode* tests = FindNode(script->titles[1]->Root(), "Basic modem tests...");
    ASSERT_TRUE(tests);
    EXPECT_EQ(tests->children().back()->title(), "Turning DCD off (AT&C1). DCD is now OFF");
}

}  // namespace
}  // namespace kavlo::scripts_test
