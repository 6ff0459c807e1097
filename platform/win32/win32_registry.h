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

/// RegCreateKeyExA of root\path with class "Key" and full access.
Result<std::unique_ptr<RegistryKey>> CreateRegistryKey(RegRoot root, std::string_view path);

}  // namespace kavlo::platform::win32
