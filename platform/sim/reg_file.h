#pragma once
// Registry Editor export files (.reg): "REGEDIT4" (ANSI) and "Windows Registry
// Editor Version 5.00" (UTF-16LE with a byte-order mark, or UTF-8/ANSI text).

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sim/registry_store.h"

namespace kavlo::platform::sim {

/// Longest key path (in components) and names that a .reg file may hold, as the
/// Windows registry limits them.
inline constexpr std::size_t kMaxKeyDepth = 512;
inline constexpr std::size_t kMaxKeyNameChars = 255;
inline constexpr std::size_t kMaxValueNameChars = 16383;

/// Applies one .reg file to the store. Returns "" on success, else
/// "fileLabel:line: what is wrong"; the store may then hold part of the file
/// (callers discard it).
std::string ApplyRegFile(std::string_view bytes, std::string_view fileLabel, std::uint32_t codePage,
                         RegistryStore& store);

}  // namespace kavlo::platform::sim
