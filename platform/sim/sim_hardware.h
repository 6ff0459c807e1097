#pragma once
// The simulated machine's PCI bus, telephony lines and serial ports, answered
// from the hardware sections of machine.ini.

#include <memory>
#include <string_view>

#include "platform/machine.h"
#include "platform/sim/hardware_config.h"

namespace kavlo::platform::sim {

Result<std::unique_ptr<TelephonySession>> SimStartTelephony(const HardwareConfig& hardware, TelephonyStart how);
/// A port without a [serial] section does not exist (2); one in use gives 5.
Result<std::unique_ptr<SerialPort>> SimOpenSerialPort(const HardwareConfig& hardware, std::string_view portName);

}  // namespace kavlo::platform::sim
