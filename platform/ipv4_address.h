#pragma once
// IPv4 addresses as text: the dotted form that reports show and that the
// simulated machine's files and hosts tables are written in.

#include <optional>
#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::platform {

/// "192.168.10.5" for the octets 192, 168, 10, 5.
std::string DottedAddress(const Ipv4Address& address);

/// The octets of a dotted address of four decimal numbers 0-255; nullopt for anything else.
std::optional<Ipv4Address> ParseDottedAddress(std::string_view text);

}  // namespace kavlo::platform
