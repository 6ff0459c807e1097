// The antivirus commands on simulated machines: which logs are read, and the
// configuration entries with their decoded addresses, ports and times.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/testing/sim_script_run.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

using ::testing::ElementsAreArray;

constexpr std::string_view kProductKey = "[HKEY_LOCAL_MACHINE\\Software\\Paxwell\\Corvel\\Vigilant6\\CurrentVersion]\n";

std::string WithLocale(std::string_view locale) {
    return std::string(kavlo::testing::kMinimalSystem) + "[folders]\nCSIDL_COMMON_APPDATA = C:\\Data\n[locale]\n" +
           std::string(locale);
}

// An outline of the tree below a node, each item's extra text after "|".
std::string Outline(const ResultNode& node, int depth = 0) {
    std::string out;
    for (const auto& child : node.children())
        out += std::string(depth * 2, ' ') + child->title() + (child->extra().empty() ? "" : "|" + child->extra()) +
               "\n" + Outline(*child, depth + 1);
    return out;
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
                           "Quarantine infected file,Manual Scan");
    EXPECT_THAT(probe_test::Lines(title.text), ElementsAreArray(expected));
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
    EXPECT_EQ(Outline(title.Root()),
              "Installation\n  Parent server,SRV1, \n  Product Version,7.50.846, \n  Scan Engine,4.1.15.0, \n");
    EXPECT_TRUE(testing::SimImage().Run("tree", "TCOstrell7Main:").Root().children().empty());
}

// A server entry (data/address_cache) with both addresses, the times in the
// machine's zone and forms.
TEST(AntivirusConfiguration, AddressCacheEntry) {
    probe_test::MachineFolder image("probes/antivirus/tests/data/address_cache");
    const TitleRecord& title = image.Run("treexp", "TRoot:Setting,30,Value,24,Comment,36\nDspAddressCache:");
    probe_test::ExpectSameAsFile(Outline(title.Root()), "probes/antivirus/tests/expected/address_cache.txt");
}

TEST(AntivirusConfiguration, ClientEntryAndAClientInstall) {
    testing::SimImage image(WithLocale(""));
    image.Registry("50-product",
                   std::string(kProductKey) +
                       "\"ClientType\"=dword:00000001\n\"Parent\"=\"SRV1\"\n"
                       "[HKEY_LOCAL_MACHINE\\Software\\Paxwell\\Corvel\\Vigilant6\\CurrentVersion\\Clients\\PC7]\n"
                       "\"Flags\"=dword:00000010\n");
    probe_test::ExpectSameAsFile(Outline(image.Run("treexp", "DspClient:").Root()),
                                 "probes/antivirus/tests/expected/client_entry.txt");
}

}  // namespace
}  // namespace kavlo
