// The resolver's files and the caller-file reader: untrusted text and bytes.

#include <gtest/gtest.h>

#include "platform/caller_file.h"
#include "platform/etc_files.h"
#include "platform/ipv4_address.h"

namespace kavlo::platform {
namespace {

TEST(EtcFiles, ServicesMatchPortAndProtocolFirstLineWins) {
    const std::string services =
        "# comment 21/tcp\nftp-data 20/tcp\nftp 21/tcp   # file transfer\nftp-again 21/tcp\n"
        "domain 53/UDP\nbroken 80\nhttp 80/tcpx\n   \nlonely\n";
    EXPECT_EQ(FindServiceName(services, 21, "tcp"), "ftp");
    EXPECT_EQ(FindServiceName(services, 53, "udp"), "domain");
    EXPECT_EQ(FindServiceName(services, 21, "udp"), std::nullopt);
    EXPECT_EQ(FindServiceName(services, 80, "tcp"), std::nullopt);
    EXPECT_EQ(FindServiceName("huge 65536/tcp\n", 0, "tcp"), std::nullopt);
    EXPECT_EQ(FindServiceName(std::string(300, 'n') + " 7/tcp", 7, "tcp"), std::string(kMaxResolverName, 'n'));
}

TEST(EtcFiles, HostsGiveTheFirstNameOfTheFirstLine) {
    const std::string hosts = "10.0.0.256 bad\n10.0.0.1\n10.0.0.1 first alias # c\n10.0.0.1 second\n#10.0.0.2 x\n";
    EXPECT_EQ(FindHostName(hosts, {10, 0, 0, 1}), "first");
    EXPECT_EQ(FindHostName(hosts, {10, 0, 0, 2}), std::nullopt);
}

TEST(Ipv4Address, DottedTextBothWays) {
    EXPECT_EQ(DottedAddress({192, 168, 0, 255}), "192.168.0.255");
    for (std::string_view bad : {"1.2.3", "1.2.3.4.", "1.2.3.256", "1..3.4", "1.2.3.0004", " 1.2.3.4"})
        EXPECT_EQ(ParseDottedAddress(bad), std::nullopt) << bad;
}

/// A caller file: the signature, the format version and the fields, each ended by a zero byte.
std::string CallerFile(char version, std::initializer_list<std::string_view> fields) {
    std::string file = std::string("MLCHF") + version;
    for (std::string_view field : fields) file.append(field).push_back('\0');
    return file;
}

TEST(CallerFile, FieldsByVersionAndMalformedBytes) {
    using namespace std::string_literals;
    // Version 1 holds the dial settings only, in its own order.
    const auto v1 = ParseCallerFile(CallerFile(1, {"Modem", "9600", "None", "617", "555", "US", "me"}));
    ASSERT_TRUE(v1);
    EXPECT_EQ(v1->phoneNumber, "555");
    EXPECT_EQ(v1->loginName, "me");
    EXPECT_EQ(v1->connectionAttempts, 0);
    // Numbers out of their type's range or not numbers read 0; flags are 0 or 1.
    const auto v2 = ParseCallerFile(CallerFile(2, {"M", "12x", "", "", "2", "", "", "", "", "40000", "-5"}));
    ASSERT_TRUE(v2);
    EXPECT_EQ(v2->speed, 0);
    EXPECT_FALSE(v2->useDialProperties);
    EXPECT_EQ(v2->connectionAttempts, 0);
    EXPECT_EQ(v2->secondsBetweenRetries, -5);
    // An over-long last field without its terminator is cut, never read past.
    const auto cut = ParseCallerFile("MLCHF\x02"s + std::string(1000, 'd'));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->device, std::string(kMaxCallerField, 'd'));
    for (const std::string& bad : {""s, "MLCHF"s, "MLCHF\x03"s, "MLCHX\x02"s})
        EXPECT_EQ(ParseCallerFile(bad), std::nullopt);
}

}  // namespace
}  // namespace kavlo::platform
