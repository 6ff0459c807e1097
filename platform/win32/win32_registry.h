#pragma once
// Registry keys of the real machine (the A functions, so names and string data
// are in the ANSI code page).

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

/// RegOpenKeyExA of root\path with the given access mask.
Result<std::unique_ptr<RegistryKey>> OpenRegistryKey(RegRoot root, std::string_view path, std::uint32_t access);

/// Deletes root\path with its subtree: RegDeleteTreeA where advapi32 has it
/// (Vista and later), else a walk that deletes the deepest keys first with
/// RegDeleteKeyA. 87 for an empty path, which would name the root itself.
Status DeleteRegistryKey(RegRoot root, std::string_view path);
/// The walk that DeleteRegistryKey falls back on without RegDeleteTreeA.
Status DeleteRegistryKeyByWalk(RegRoot root, std::string_view path);

/// RegCreateKeyExA of root\path with class "Key" and full access.
Result<std::unique_ptr<RegistryKey>> CreateRegistryKey(RegRoot root, std::string_view path);

}  // namespace kavlo::platform::win32
