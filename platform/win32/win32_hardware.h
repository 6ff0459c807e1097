#pragma once
// The real machine's PCI functions (from the device set-up interface, no
// driver), telephony lines (TAPI, looked up at run time) and serial ports.

#include <memory>
#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

/// The PCI functions that SetupAPI reports as present, as 268-byte records:
/// vendor and device from the hardware identifier, the class code from the
/// compatible identifiers, bus, device and function from the device's
/// location. The header type is not known there and stays 0.
Result<std::string> PciRecords();
/// lineInitialize or lineInitializeExA of "tapi32.dll"; 126 or 127 when the
/// system lacks the library or a function, else the TAPI error.
Result<std::unique_ptr<TelephonySession>> StartTelephony(std::string_view appName, TelephonyStart how);
/// CreateFileA of "\\.\PORT"; the port's settings are restored when it closes.
Result<std::unique_ptr<SerialPort>> OpenSerialPort(std::string_view portName);

}  // namespace kavlo::platform::win32
