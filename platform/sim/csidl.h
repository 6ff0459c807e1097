#pragma once
// The shell's special-folder numbers (CSIDL) by name.

#include <optional>
#include <string_view>

namespace kavlo::platform::sim {

/// The number of a name such as "CSIDL_APPDATA" (any case); nullopt when unknown.
std::optional<int> CsidlNumber(std::string_view name);
/// True for folders without a file-system path (My Computer, Printers, ...).
bool IsVirtualCsidl(int csidl);

}  // namespace kavlo::platform::sim
