// "CNetstat:" on a simulated machine whose connection tables, hosts and
// services files tell one story each row, and its failure rows.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/testing/fake_machine.h"
#include "engine/testing/script_runner.h"
#include "platform/sim/sim_machine.h"
#include "probes/network/tests/command_runner.h"

namespace kavlo::network_test {
namespace {

// Without a host name the simulated machine's sockets do not start.
std::string System(std::string_view hostLine) {
    return "[system]\nplatform = NT\nmajor = 5\nminor = 0\nbuild = 2195\ncomputer_name = OFFICE9\n"
           "windows_dir = C:\\WINNT\nsystem_dir = C:\\WINNT\\system32\nnow = 2002-05-14 10:32:05\n" +
           std::string(hostLine) + "[drive C:]\ntype = fixed\n";
}

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

// The machine reads its files when asked, so the folder outlives the machine.
class SimMachineFolder {
public:
    SimMachineFolder(std::string_view ini) {
        std::filesystem::create_directories(std::filesystem::path(dir_.folder()) /
                                            "drives/c/WINNT/system32/drivers/etc");
        dir_.Write("machine.ini", ini);
        dir_.Write("drives/c/WINNT/system32/drivers/etc/hosts",
                   "127.0.0.1       localhost\r\n192.168.10.5    ostsrv01   # the parent server\r\n");
        dir_.Write("drives/c/WINNT/system32/drivers/etc/services",
                   "# name  port/protocol  aliases\r\nhttp     80/tcp   www\r\nnetbios-ns  137/UDP\r\n"
                   "ftp      21/tcp\r\n");
    }
    std::unique_ptr<platform::Machine> Load() const {
        auto loaded = platform::sim::LoadMachine(dir_.folder());
        EXPECT_TRUE(loaded.machine) << loaded.error;
        return std::move(loaded.machine);
    }

private:
    kavlo::testing::TempFolder dir_;
};

TEST(SimNetstat, RowsOfEveryKind) {
    const SimMachineFolder folder(System("host_name = office9\n") + std::string(kTables));
    const auto machine = folder.Load();
    ASSERT_TRUE(machine);
    EXPECT_EQ(ListRows(*machine, "CNetstat:"),
              "TCP,office9,4911,0.0.0.0,0,LISTENING\n"
              "TCP,office9,1030,localhost,1031,ESTABLISHED\n"
              "TCP,192.168.10.37 [office9],1047,192.168.10.5 [ostsrv01],2847,ESTABLISHED\n"
              "TCP,192.168.10.37 [office9],1050,192.168.20.99,80 [http ],CLOSING\n"
              "TCP,192.168.10.37 [office9],1051,192.168.20.99,80 [http ],LAST_ACK\n"
              "TCP,192.168.10.37 [office9],1052,192.168.20.99,80 [http ],<12>\n"
              "UDP,office9,137 [netbios-ns ],, ,\n");
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
    const SimMachineFolder folder(System("") + std::string(kTables));
    const auto noSockets = folder.Load();
    ASSERT_TRUE(noSockets);
    EXPECT_EQ(ListRows(*noSockets, "CNetstat:"), "ERROR,Could not initialize Winsock,,,, \n");
    // A machine without the tables at all (the fake answers 50 to every network operation).
    testing::FakeMachine fake;
    EXPECT_EQ(ListRows(fake, "CNetstat:"), "ERROR,Could not load extension DLL,,,, \n");
    const std::pair<WinError, std::string_view> cases[] = {
        {127, "ERROR,Could not load extension DLL,,,, \n"},
        {10091, "ERROR,Could not initialize Winsock,,,, \n"},
        {5, "ERROR,Could not initialize extension DLL,,,, \n"},
    };
    for (const auto& [error, row] : cases) {
        FailingTables machine(error);
        EXPECT_EQ(ListRows(machine, "CNetstat: ignored text"), row) << error;
    }
}

}  // namespace
}  // namespace kavlo::network_test
