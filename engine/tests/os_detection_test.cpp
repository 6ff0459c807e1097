#include "engine/os_detection.h"

#include <gtest/gtest.h>

#include "engine/testing/fake_machine.h"

namespace kavlo {
namespace {

using platform::RegRoot;

struct OsCase {
    const char* name;
    platform::OsVersion version;
    const char* productType;  // null: no ProductOptions key
    const char* productName;  // null: no ProductName value
    const char* shortName;
    const char* longName;
    int code;
    bool ntFamily;
};

class DetectOsTest : public ::testing::TestWithParam<OsCase> {};

TEST_P(DetectOsTest, NamesAndCode) {
    const OsCase& c = GetParam();
    testing::FakeMachine machine;
    machine.SetVersion(c.version);
    if (c.productType)
        machine.SetString(RegRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", "ProductType",
                          c.productType);
    if (c.productName)
        machine.SetString(RegRoot::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName",
                          c.productName);
    const OsInfo os = DetectOs(machine);
    EXPECT_EQ(os.shortName, c.shortName);
    EXPECT_EQ(os.longName, c.longName);
    EXPECT_EQ(os.code, c.code);
    AppContext context(machine, os, "");
    EXPECT_EQ(context.IsNtFamily(), c.ntFamily);
}

using V = platform::OsVersion;
constexpr auto k9x = platform::os_platform::kWindows9x;
constexpr auto kNt = platform::os_platform::kNt;

INSTANTIATE_TEST_SUITE_P(
    Systems, DetectOsTest,
    ::testing::Values(
        OsCase{"Win95", V{k9x, 4, 0, 0x040003B6, " B"}, nullptr, nullptr, "Win95", "Windows 95 build 950  B", 95,
               false},
        OsCase{"Win98", V{k9x, 4, 10, 0x040A08AE, " A "}, nullptr, nullptr, "Win98", "Windows 98 build 2222  A ", 98,
               false},
        OsCase{"NT351", V{kNt, 3, 51, 1057, "Service Pack 5"}, "WinNT", nullptr, "NT3.51",
               "NT 3.5 Workstation  build 1057 Service Pack 5", 300, false},
        OsCase{"NT350", V{kNt, 3, 50, 807, ""}, "LanmanNT", nullptr, "NT3.50", "NT 3.5 Server  build 807 ", 300, false},
        OsCase{"NT40", V{kNt, 4, 0, 1381, "Service Pack 6"}, "WinNT", nullptr, "NT4.0",
               "NT  Workstation  build 1381 Service Pack 6", 40, true},
        OsCase{"NT40NoProductOptions", V{kNt, 4, 0, 1381, ""}, nullptr, nullptr, "NT4.0", "NT  build 1381 ", 40, true},
        OsCase{"W2000", V{kNt, 5, 0, 2195, "Service Pack 2"}, "WinNT", "Microsoft Windows 2000", "NT5.0",
               "Windows 2000 Professional  Workstation  build 2195 Service Pack 2", 50, true},
        OsCase{"XP", V{kNt, 5, 1, 2600, "Service Pack 3"}, "WinNT", "Microsoft Windows XP", "NT5.1",
               "Microsoft Windows XP  Workstation  build 2600 Service Pack 3", 51, true},
        OsCase{"XPWithoutProductName", V{kNt, 5, 1, 2600, ""}, "WinNT", nullptr, "NT5.1",
               "Windows NT 5.1  Workstation  build 2600 ", 51, true},
        OsCase{"Win10", V{kNt, 10, 0, 19045, ""}, "WinNT", "Windows 10 Pro", "NT",
               "Windows 10 Pro  Workstation  build 19045 ", 100, true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kavlo
