#pragma once
// The words of the security probes: accounts, the file-rights line, the
// registry rights and their summary.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo {

inline constexpr std::string_view kFolderMarker = "[D]  ";  ///< directory, key and walk labels
inline constexpr std::string_view kAccountMarker = "[D] ";  ///< accounts of the registry listing

/// The system's message for an error, without its trailing line break: it ends
/// tree items and lines that add their own.
std::string SystemText(platform::Machine& machine, WinError error);

/// domain + "\" + name of the account a SID names; the SID's text ("S-1-5-…")
/// when the machine cannot name it.
std::string AccountText(platform::Machine& machine, std::string_view sid);

/// "+R-W+X-D-P-O\n": the six file rights of a mask.
void AppendFileRightsLine(std::uint32_t rights, std::string& out);

/// "Full Control", "Read" or "Special".
std::string_view PermissionSummary(std::uint32_t rights);

struct RegistryRight {
    std::string_view name;
    std::uint32_t mask;
};
/// The ten registry rights in the order they are listed.
const RegistryRight (&RegistryRights())[10];

}  // namespace kavlo
