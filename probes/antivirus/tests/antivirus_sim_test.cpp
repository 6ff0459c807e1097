// The antivirus commands on simulated machines: which logs are read, and the
// configuration entries with their decoded addresses, ports and times.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"

namespace kavlo {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

constexpr std::string_view kProductKey = "[HKEY_LOCAL_MACHINE\\Software\\Paxwell\\Corvel\\Vigilant6\\CurrentVersion]\n";

std::string WithLocale(std::string_view locale) {
    return std::string(kavlo::testing::kMinimalSystem) + "[folders]\nCSIDL_COMMON_APPDATA = C:\\Data\n[locale]\n" +
           std::string(locale);
}

std::vector<std::string> Children(const ResultNode& node) {
    std::vector<std::string> titles;
    for (const auto& child : node.children())
        titles.push_back(child->title() + (child->extra().empty() ? "" : "|" + child->extra()));
    return titles;
}

TEST(AntivirusLogs, OnlyTheFourteenHighestNamesAreRead) {
    testing::SimImage image(WithLocale(""));
    image.Registry("50-product", std::string(kProductKey) + "\"ProductVersion\"=dword:034e02ee\n");
    const std::string folder = "Data/Quorvane/Ostrell AntiVirus Corporate Edition/7.5/Logs/";
    for (int n = 1; n <= 20; ++n) {
        const std::string name = (n < 10 ? "0" : "") + std::to_string(n);
        image.DriveFile(folder + name + ".log", "1F0A0E0D2A05,5,0,1,PC,u,V" + name + ",C:\\x,1,1,1,256\r\n");
    }
    image.DriveFile(folder + "99.log/inner.txt", "a folder named like a log is no log");
    const TitleRecord& title = image.Run("col", "COstrell7Log:virus");
    std::vector<std::string> expected;
    for (int n = 20; n >= 7; --n)
        expected.push_back(std::string("11/14/2001  1:42:05 pm,x,V") + (n < 10 ? "0" : "") + std::to_string(n) +
                           ",File,Quarantined,PC,u,C:,Infected,Quarantine,Quarantine infected file,"
                           "Quarantine infected file,Manual Scan\n");
    std::vector<std::string> rows;
    for (std::size_t start = 0, end; (end = title.text.find('\n', start)) != std::string::npos; start = end + 1)
        rows.push_back(title.text.substr(start, end - start + 1));
    EXPECT_THAT(rows, ElementsAreArray(expected));
    EXPECT_EQ(title.kindDetail.substr(0, 21), "Date,25,File Name,18,");
    const TitleRecord& events = image.Run("col", "COstrell7Log:event");
    EXPECT_EQ(events.text, "");
    EXPECT_EQ(events.kindDetail, "Date,25,Event,22,Computer,13,User,13,Scan Type,13,Other,25\n");
}

TEST(AntivirusLogs, OlderVersionsKeepTheirLogsInTheProgramFolder) {
    testing::SimImage image(WithLocale(""));
    image.Registry("50-product", std::string(kProductKey) +
                                     "\"ProductVersion\"=dword:000102bc\n"
                                     "\"Home Directory\"=\"C:\\\\AV\"\n");
    image.DriveFile("AV/Logs/a.Log", "1F0A0E0D2A05,14,0,8,PC,SYSTEM,,,,,,,,started\n");
    EXPECT_EQ(image.Run("col", "COstrell7Log:event").text,
              "11/14/2001  1:42:05 pm,Ostrell Antivirus Startup,PC,SYSTEM,System,started\n");
}

TEST(AntivirusConfiguration, EntriesBelowTheCurrentNode) {
    testing::SimImage image(WithLocale(""));
    image.Registry("50-product", std::string(kProductKey) +
                                     "\"Parent\"=\"SRV1\"\n\"ProductVersion\"=dword:034e02ee\n"
                                     "\"ScanEngineVersion\"=dword:04010f00\n");
    const TitleRecord& title = image.Run("tree", "TRoot:\nTAddChild:Installation\nTCOstrell7Main:");
    ASSERT_EQ(title.Root().children().size(), 1u);
    EXPECT_THAT(Children(*title.Root().children()[0]),
                ElementsAre("Parent server,SRV1, ", "Product Version,7.50.846, ", "Scan Engine,4.1.15.0, "));
    EXPECT_TRUE(testing::SimImage().Run("tree", "TCOstrell7Main:").Root().children().empty());
}

// A server entry with both addresses, the times in the machine's zone and forms.
TEST(AntivirusConfiguration, AddressCacheEntry) {
    testing::SimImage image(WithLocale("utc_offset = -05:00\ndate_format = dd.MM.yyyy\ntime_format = HH:mm:ss\n"));
    image.Registry(
        "50-product",
        std::string(kProductKey) +
            "\"ClientType\"=dword:00000003\n\"Domain\"=\"AVDOM\"\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Paxwell\\Corvel\\Vigilant6\\CurrentVersion\\AddressCache\\SRV1]\n"
            "\"ProductVersion\"=dword:034e02ee\n\"Domain\"=\"AVDOM\"\n\"NumberOfClients\"=dword:0000002a\n"
            "\"Flags\"=dword:00001005\n\"Protocol\"=\"Address_1\"\n\"Good\"=dword:00000001\n"
            "\"Address_0\"=hex:02,00,00,00,0b,1f,00,00,c0,a8,0a,05\n"
            "\"Address_1\"=hex:06,00,00,00,85,1a,00,00,00,00,00,2a,00,a0,c9,12,34,56\n"
            "\"LastGoodTime\"=hex:98,c7,e0,3c\n\"LastUpdateTime\"=hex:01\n"
            "\"PatternVersion\"=dword:02f80003\n\"PatternFileDate\"=dword:00002e25\n"
            "\"TimeOfLastScan\"=dword:3ce0c798\n");
    const TitleRecord& title = image.Run("treexp", "TRoot:Setting,30,Value,24,Comment,36\nDspAddressCache:");
    const ResultNode& root = title.Root();
    ASSERT_EQ(root.children().size(), 2u);
    EXPECT_THAT(Children(*root.children()[0]),
                ElementsAre("Type of Install|Server, ", "Domain|AVDOM,Domain server is part of"));
    ASSERT_EQ(root.children()[1]->children().size(), 1u);
    EXPECT_THAT(
        Children(*root.children()[1]->children()[0]),
        ElementsAre("Product Version|7.50.846, ", " | , ", "Domain|AVDOM,Domain parent resides in",
                    "Parent|Not Present, ", "Number of clients|42, ", "OS|Netware 5.x, ", "Server Type|Primary,, ",
                    "Sharing|Yes,, ", " | , ", "IP Address|192.168.10.5, ", "UDP Port|2847, ",
                    "IPX Address|0x0002a:0a0c9123456, ", "Port|34074, ", "Protocol|IPX,Which protocol is being used",
                    "Status last time communicated|1,0=No communication 1=Communicating",
                    "LastGoodTime|14.05.2002 03:15:20,Last CheckInWithNest time",
                    "LastUpdateTime|NA,Last PONG / PLX.DAT time", " | , ", "Virus .VDB Pattern|0x2f80003, ",
                    "Pattern Date|05/06/02, ", "Old Definitions|Yes, ", "Scan Engine|0.0.0.0, ", " | , ",
                    "Time of last scan|14.05.2002 03:15:20, "));
}

TEST(AntivirusConfiguration, ClientEntryAndAClientInstall) {
    testing::SimImage image(WithLocale(""));
    image.Registry("50-product",
                   std::string(kProductKey) +
                       "\"ClientType\"=dword:00000001\n\"Parent\"=\"SRV1\"\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Paxwell\\Corvel\\Vigilant6\\CurrentVersion\\Clients\\PC7]\n"
                       "\"Flags\"=dword:00000010\n");
    const ResultNode& root = image.Run("treexp", "DspClient:").Root();
    ASSERT_EQ(root.children().size(), 2u);
    EXPECT_THAT(Children(*root.children()[0]),
                ElementsAre("Type of Install,Client, ", "Parent,SRV1,Client's parent server"));
    EXPECT_THAT(Children(*root.children()[1]), ElementsAre("[D]  PC7"));
    EXPECT_THAT(Children(*root.children()[1]->children()[0]),
                ElementsAre("Product Version,0.00.0, ", " , , ", "OS,Windows 9x, ", " , , ",
                            "Protocol,IP,Which protocol is being used",
                            "Status last time communicated,Not Present,0=No communication 1=Communicating",
                            "LastGoodTime,NA,Last CheckInWithNest time", "LastUpdateTime,NA,Last PONG / PLX.DAT time",
                            " , , ", "Virus .VDB Pattern,0x0, ", "Pattern Date,01/01/70, ", "Old Definitions,No, ",
                            "Scan Engine,0.0.0.0, "));
}

}  // namespace
}  // namespace kavlo
