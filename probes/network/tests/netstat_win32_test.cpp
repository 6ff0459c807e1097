// "CNetstat:" and the host's addresses on the computer the tests run on (under
// Wine here, whose GetTcpTable, gethostname and getservbyport work).

#include "platform/win32/handles.h"  // winsock2.h must come before windows.h

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/ipv4_address.h"
#include "platform/win32/win32_machine.h"
#include "probes/system/tests/probe_test_support.h"

namespace kavlo::probe_test {
namespace {

// A TCP socket listening on every interface at a port the system picks.
class Listener {
public:
    Listener() {
        socket_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = INADDR_ANY;
        int size = sizeof address;
        if (socket_ == INVALID_SOCKET || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(socket_, 1) != 0 || ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
            return;
        port_ = ::ntohs(address.sin_port);
    }
    ~Listener() {
        if (socket_ != INVALID_SOCKET) ::closesocket(socket_);
    }
    int port() const { return port_; }

private:
    platform::win32::WinsockSession sockets_{MAKEWORD(2, 2)};
    SOCKET socket_ = INVALID_SOCKET;
    int port_ = 0;
};

TEST(Win32Netstat, ListsTheSocketThisTestListensOn) {
    Listener listener;
    ASSERT_NE(listener.port(), 0);
    const auto machine = platform::win32::MakeWin32Machine();
    const auto host = machine->HostName();
    ASSERT_TRUE(host);
    // The port may carry " [name ]" from the system's services file.
    const std::string start = "TCP," + *host + "," + std::to_string(listener.port());
    const auto rows = Lines(LineRunner(*machine).Text("CNetstat:"));
    EXPECT_TRUE(std::any_of(rows.begin(), rows.end(), [&](const std::string& row) {
        return row.rfind(start, 0) == 0 &&
               Matches(row.substr(start.size()), "( \\[[^\\]]+ \\])?,0\\.0\\.0\\.0,0,LISTENING");
    })) << ::testing::PrintToString(rows);
}

TEST(Win32Netstat, HostAddressesAreDottedAddresses) {
    const auto machine = platform::win32::MakeWin32Machine();
    const auto addresses = machine->HostAddresses();
    ASSERT_TRUE(addresses) << addresses.error();
    ASSERT_FALSE(addresses->empty());
    for (const auto& address : *addresses)
        EXPECT_EQ(platform::ParseDottedAddress(platform::DottedAddress(address)), address);
}

}  // namespace
}  // namespace kavlo::probe_test
