#pragma once
// The resolver's own tables: the "services" and "hosts" files of
// <SYSTEM32>\drivers\etc, read the way Windows' sockets library reads them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::platform {

/// Names longer than this are cut, as the sockets library's own buffers would.
inline constexpr std::size_t kMaxResolverName = 255;

/// The name of the first "name port/protocol [aliases] [# comment]" line for the
/// port and protocol (compared without regard to case); nullopt when none.
std::optional<std::string> FindServiceName(std::string_view servicesText, std::uint16_t port,
                                           std::string_view protocol);

/// The first name of the first "address name [aliases] [# comment]" line for the
/// address; nullopt when none.
std::optional<std::string> FindHostName(std::string_view hostsText, const Ipv4Address& address);

}  // namespace kavlo::platform
