#pragma once
// The texts of the connection table's rows: state names, address and port
// texts with their resolver names, and the failure rows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo {

/// The name of a TCP state number as the connection table shows it; numbers past
/// the table's last entry (11) show in angle brackets, as "<12>".
std::string TcpStateName(std::uint32_t state);

/// The failure row for an error of the connection-table operations.
std::string_view NetstatFailureRow(WinError error);

/// Builds address and port texts; the host's name is asked for once.
class EndpointTexts {
public:
    explicit EndpointTexts(platform::Machine& machine) : machine_(machine) {}

    /// The host's name for 0.0.0.0 and 127.0.0.1 at the local end; at the remote end
    /// "0.0.0.0" and "localhost"; else the dotted address with " [name]" when the
    /// resolver knows one.
    std::string Address(const platform::Ipv4Address& address, bool localEnd);
    /// The port in decimal with " [service ]" when the protocol's service is known.
    std::string Port(std::uint16_t port, std::string_view protocol);

private:
    const std::string& HostName();

    platform::Machine& machine_;
    std::optional<std::string> hostName_;
};

}  // namespace kavlo
