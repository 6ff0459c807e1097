#pragma once
// The machine.ini sections of the hardware probes: [pci BUS:DEVICE.FUNCTION],
// [tapi line N], [tapi provider ID] and [serial PORT] (a scripted modem).

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"
#include "platform/sim/ini_file.h"

namespace kavlo::platform::sim {

struct SimTelephonyLine {
    std::uint32_t number = 0;
    LineDeviceCaps caps;
    bool capsReadable = true;
    std::uint32_t highestVersion = 0x20000;
    LineDeviceStatus status;
    std::optional<std::string> callOwner;  ///< the application of a call on the line
};

/// The modem at the other end of a serial port: which commands it answers and how.
struct SimSerialPeer {
    std::string port;                                           ///< "COM3"
    std::vector<std::string> answers{"AT&F", "AT&C", "AT&C1"};  ///< commands it replies to
    std::string reply = "OK";
    bool inUse = false;                                 ///< another program holds the port
    std::uint32_t holdFlags = 0;                        ///< comm::kHold*
    std::uint32_t lines = comm::kCtsOn | comm::kDsrOn;  ///< comm::kCtsOn, kDsrOn, kRlsdOn
};

struct HardwareConfig {
    std::string pciRecords;               ///< whole records in section order
    std::vector<SimTelephonyLine> lines;  ///< by line number
    std::vector<TelephonyProvider> providers;
    std::vector<SimSerialPeer> serialPorts;
};

/// True for "pci", "tapi" and "serial" sections.
bool IsHardwareSection(std::string_view kind);
/// Reads one of them; `argument` is the text after the section's first word.
std::optional<SectionError> ReadHardwareSection(const IniSection& section, std::string_view kind,
                                                std::string_view argument, HardwareConfig& hardware);

}  // namespace kavlo::platform::sim
