#pragma once
// What the modem's own registry key says: how it is attached, and the settings
// of the modem control panel.

#include <string>

#include "engine/records.h"
#include "platform/machine.h"

namespace kavlo {

/// "Internal on COM3 / IRQ 4 / 0x3e8 using standard serial port drivers". The
/// port's interrupt and address are looked up when `withPortDetails` is set.
std::string ModemAttachmentLine(platform::Machine& machine, const platform::RegistryKey& modemKey,
                                bool withPortDetails);

/// The port the modem is attached to ("AttachedTo").
std::string ModemPort(const platform::RegistryKey& modemKey);

/// The items of "Modem Control Panel values..." below `parent`.
void AddModemControlPanelValues(ResultNode& parent, const platform::RegistryKey& modemKey);

}  // namespace kavlo
