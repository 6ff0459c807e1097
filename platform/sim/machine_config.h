#pragma once
// machine.ini: what the simulated machine is (system, memory, drives,
// environment, shell folders, per-file attributes).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/machine.h"
#include "platform/sim/security_config.h"
#include "platform/sim/system_probe_config.h"
#include "platform/sim/sim_network.h"
#include "platform/sim/clock_and_swap_config.h"
#include "platform/sim/hardware_config.h"
#include "platform/sim/services_config.h"

namespace kavlo::platform::sim {

struct DriveConfig {
    char letter = 'C';  ///< upper case
    std::uint32_t type = drive::kFixed;
    std::string fileSystem;
    std::string label;
    std::uint32_t serial = 0;
    std::uint64_t freeBytes = 0;
    std::uint64_t freeBytesToCaller = 0;
    std::uint64_t totalBytes = 0;
    bool ready = true;  ///< false: no medium in the drive
};

/// What a [file PATH] section says about one file or directory.
struct FileMeta {
    std::string path;                         ///< as written in the section name
    int line = 0;                             ///< line of the section header
    std::optional<std::uint32_t> attributes;  ///< R, H, S, A, C flags only
    std::optional<std::string> shortName;
    std::optional<LocalTime> modified;
};

struct MachineConfig {
    OsVersion version;
    std::string productType;
    std::string computerName;
    std::optional<std::string> hostName;
    std::string windowsDir;
    std::string systemDir;
    std::string currentDir;
    std::uint32_t processors = 1;
    std::uint32_t codePage = 1252;
    LocalTime now;
    MemoryStatus memory;
    std::vector<DriveConfig> drives;  ///< in drive-letter order
    std::vector<std::pair<std::string, std::string>> environment;
    std::vector<std::pair<int, std::string>> folders;  ///< CSIDL number, path
    std::vector<FileMeta> files;
    SecurityConfig security;         ///< accounts, logon and descriptors; empty for images without them
    SystemProbeConfig systemProbes;  ///< [network], [share NAME], [crypto_provider TYPE]
    NetworkConfig network;           ///< [resolver], [tcp], [udp]
    LocaleConfig locale;
    std::optional<SwapFileInfo> swapFile;  ///< 9x machines only
    HardwareConfig hardware;               ///< [pci ...], [tapi ...], [serial PORT]
    ServicesConfig services;               ///< [service NAME], [process ID], [window N]
};

struct ConfigParse {
    MachineConfig config;
    std::string error;  ///< "file:line: what is wrong"; empty on success
};

/// Parses the bytes of machine.ini; fileLabel names the file in errors.
ConfigParse ParseMachineConfig(std::string_view bytes, std::string_view fileLabel);

/// R, H, S, A, C letters (any order and case) to attribute bits; nullopt for other letters.
std::optional<std::uint32_t> ParseAttributeLetters(std::string_view letters);

}  // namespace kavlo::platform::sim
