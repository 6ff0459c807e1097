#pragma once
// The simulated machine's network: the [network], [tcp] and [udp] sections of
// machine.ini, and name lookups in the image's own hosts and services files.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"
#include "platform/sim/ini_file.h"

namespace kavlo::platform::sim {

struct NetworkConfig {
    std::vector<Ipv4Address> addresses;  ///< the host's addresses in resolver order; empty: not written
    std::vector<TcpConnection> tcp;      ///< in the order written
    std::vector<UdpListener> udp;
};

/// True for the section names this file reads.
bool IsNetworkSection(std::string_view sectionName);
/// Reads one of the network sections into `network`; why not when it is malformed.
std::optional<SectionError> ReadNetworkSection(const IniSection& section, NetworkConfig& network);

/// What the network operations need of the machine.
struct NetworkView {
    Machine& machine;  ///< for reading the hosts and services files
    const NetworkConfig& network;
    const std::optional<std::string>& hostName;  ///< none: sockets do not start
};

Result<std::vector<TcpConnection>> SimTcpConnections(const NetworkView& view);
Result<std::vector<UdpListener>> SimUdpListeners(const NetworkView& view);
Result<std::vector<Ipv4Address>> SimHostAddresses(const NetworkView& view);
Result<std::string> SimHostNameOfAddress(const NetworkView& view, const Ipv4Address& address);
Result<std::string> SimServiceNameOfPort(const NetworkView& view, std::uint16_t port, std::string_view protocol);

}  // namespace kavlo::platform::sim
