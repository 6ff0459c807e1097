#pragma once
// The words of the service and process probes: service states, start types,
// service types, the error texts with their stored line ends, and the
// cleaning of a configured binary path into a file name.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "platform/machine.h"

namespace kavlo {

/// "Running", "Stopped", …; empty for an unknown state.
std::string_view StatusWord(std::uint32_t state);
/// "System Loader" … "Disabled"; empty for an unknown start type.
std::string_view StartTypeWord(std::uint32_t startType);
/// "Own Process interacts with desktop", "Device Driver", …; empty for other types.
std::string ServiceTypeWords(std::uint32_t type);

/// The system's message text for an error as stored reports show it: its
/// last character (the line feed) removed, the carriage return kept.
std::string ErrorTextCut(platform::Machine& machine, WinError error);

/// The argument split at its first comma; the second part is empty without one.
std::pair<std::string_view, std::string_view> SplitAtFirstComma(std::string_view argument);

/// The file a configured binary path names: environment strings expanded, NT
/// forms ("\SystemRoot\…", "System32\drivers\…") made Win32 paths, and the
/// quotes and arguments of a command line removed.
std::string BinaryFileOf(platform::Machine& machine, std::string_view binaryPath);

/// The path lower-cased and cut after its first ".exe" (how run values and
/// start-up entries are listed); without ".exe", the whole text lower-cased.
std::string ProgramPathOf(std::string_view commandLine);

}  // namespace kavlo
