#pragma once
// The connection tables and the sockets resolver of the real machine.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

/// GetTcpTable of "iphlpapi.dll" (looked up at run time), sorted; listeners'
/// remote ends read 0.0.0.0:0.
Result<std::vector<TcpConnection>> TcpConnections();
/// GetUdpTable of "iphlpapi.dll", sorted.
Result<std::vector<UdpListener>> UdpListeners();
/// gethostname, then gethostbyname's address list.
Result<std::vector<Ipv4Address>> HostAddresses();
/// gethostbyaddr.
Result<std::string> HostNameOfAddress(const Ipv4Address& address);
/// getservbyport.
Result<std::string> ServiceNameOfPort(std::uint16_t port, std::string_view protocol);

}  // namespace kavlo::platform::win32
