#pragma once
// How the remote-control product's caller files are shown: which ones dial a
// modem, their labels and their setting lines.

#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"

namespace kavlo {

/// False when the device names a port, a network or another non-modem link
/// (tested as substrings, so "COM10" is no modem either).
bool IsModemDevice(std::string_view device);

/// The file name after its last "\" with a ".CHF" extension (any case) removed.
std::string CallerLabel(std::string_view fileName);

/// The setting lines shown under a modem caller file, in order.
std::vector<std::string> CallerSettingLines(const platform::RemoteCallerFile& caller);

}  // namespace kavlo
