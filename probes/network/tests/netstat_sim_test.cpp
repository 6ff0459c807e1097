// "CNetstat:" on a simulated machine whose connection tables, hosts and
// services files tell one story each row, and its failure rows.

#include <gtest/gtest.h>

#include "engine/testing/fake_machine.h"
#include "engine/testing/sim_script_run.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo {
namespace {

using probe_test::LineRunner;

constexpr std::string_view kTables =
    "[resolver]\naddresses = 192.168.10.37\n"
    "[tcp]\n"
    "listener = 2 0.0.0.0:4911 0.0.0.0:0\n"
    "loopback = 5 127.0.0.1:1030 127.0.0.1:1031\n"
    "parent server = 5 192.168.10.37:1047 192.168.10.5:2847\n"
    "web closing = 9 192.168.10.37:1050 192.168.20.99:80\n"
    "web last ack = 10 192.168.10.37:1051 192.168.20.99:80\n"
    "beyond the table = 12 192.168.10.37:1052 192.168.20.99:80\n"
    "[udp]\nname service = 0.0.0.0:137\n";

// Without a host name the simulated machine's sockets do not start.
std::string NetstatRows(bool withHostName) {
    std::string ini(kavlo::testing::kMinimalSystem);
    if (!withHostName) ini.erase(ini.find("host_name = testpc\n"), 19);
    testing::SimImage image(ini + std::string(kTables));
    image.DriveFile("WINNT/system32/drivers/etc/hosts",
                    "127.0.0.1       localhost\r\n192.168.10.5    ostsrv01   # the parent server\r\n");
    image.DriveFile(
        "WINNT/system32/drivers/etc/services",
        "# name  port/protocol  aliases\r\nhttp     80/tcp   www\r\nnetbios-ns  137/UDP\r\nftp      21/tcp\r\n");
    return LineRunner(image.machine()).Text("CNetstat:");
}

TEST(SimNetstat, RowsOfEveryKind) {
    EXPECT_EQ(NetstatRows(true),
              "TCP,testpc,4911,0.0.0.0,0,LISTENING\n"
              "TCP,testpc,1030,localhost,1031,ESTABLISHED\n"
              "TCP,192.168.10.37 [testpc],1047,192.168.10.5 [ostsrv01],2847,ESTABLISHED\n"
              "TCP,192.168.10.37 [testpc],1050,192.168.20.99,80 [http ],CLOSING\n"
              "TCP,192.168.10.37 [testpc],1051,192.168.20.99,80 [http ],LAST_ACK\n"
              "TCP,192.168.10.37 [testpc],1052,192.168.20.99,80 [http ],<12>\n"
              "UDP,testpc,137 [netbios-ns ],, ,\n");
}

// A machine that answers the connection tables with one error.
class FailingTables : public testing::FakeMachine {
public:
    explicit FailingTables(WinError error) : error_(error) {}
    Result<std::vector<platform::TcpConnection>> TcpConnections() override {
        return Result<std::vector<platform::TcpConnection>>::Failure(error_);
    }

private:
    WinError error_;
};

TEST(SimNetstat, FailuresGiveOneRowEach) {
    EXPECT_EQ(NetstatRows(false), "ERROR,Could not initialize Winsock,,,, \n");
    // A machine without the tables at all (the fake answers 50 to every network operation).
    testing::FakeMachine fake;
    EXPECT_EQ(LineRunner(fake).Text("CNetstat:"), "ERROR,Could not load extension DLL,,,, \n");
    const std::pair<WinError, std::string_view> cases[] = {
        {127, "ERROR,Could not load extension DLL,,,, \n"},
        {10091, "ERROR,Could not initialize Winsock,,,, \n"},
        {5, "ERROR,Could not initialize extension DLL,,,, \n"},
    };
    for (const auto& [error, row] : cases) {
        FailingTables machine(error);
        EXPECT_EQ(LineRunner(machine).Text("CNetstat: ignored text"), row) << error;
    }
}

}  // namespace
}  // namespace kavlo
