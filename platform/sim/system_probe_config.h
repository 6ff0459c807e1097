#pragma once
// The machine.ini sections of the system probes: [network] (server type),
// [share NAME] and [crypto_provider TYPE]. See docs/machine-format.md.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"
#include "platform/sim/ini_file.h"

namespace kavlo::platform::sim {

struct CryptoProviderConfig {
    std::uint32_t type = 0;
    WinError acquireError = 0;    ///< CryptAcquireContext fails with this
    WinError nameError = 0;       ///< reading the name fails with this
    WinError containerError = 0;  ///< reading the default container fails with this
    std::string name;
    std::string container;
    std::uint32_t version = 0x200;
    std::uint32_t implementation = 2;
    std::vector<std::string> containers;
    std::vector<CryptoAlgorithm> algorithms;
};

struct SystemProbeConfig {
    std::uint32_t serverType = 0;
    WinError serverTypeError = 0;   ///< NetServerGetInfo fails with this
    WinError sharesError = 0;       ///< NetShareEnum fails with this
    bool networkDescribed = false;  ///< without [network] the network library is missing
    std::vector<ShareInfo> shares;  ///< in the order of the sections
    std::vector<CryptoProviderConfig> providers;
};

/// True for the section kinds read here ("network", "share", "crypto_provider").
bool IsSystemProbeSection(std::string_view kind);
/// Reads one such section into the configuration; why not when it is malformed.
std::optional<SectionError> ReadSystemProbeSection(const IniSection& section, std::string_view kind,
                                                   std::string_view argument, SystemProbeConfig& config);

}  // namespace kavlo::platform::sim
