#pragma once
// Registry keys of the simulated machine, over its in-memory RegistryStore,
// answering as Windows' A functions do: names converted between the machine's
// code page and the store's UTF-16 at this boundary, Windows' path rules.

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/machine.h"
#include "platform/sim/registry_store.h"

namespace kavlo::platform::sim {

/// Longest subkey path (in characters) that the A functions accept: they convert
/// it through a buffer of MAX_PATH characters and fail with 234 beyond.
inline constexpr std::size_t kMaxAnsiKeyPathChars = 260;

/// Opens an existing key; 2 when it does not exist, 161 for a path that starts
/// with a backslash (one is allowed below HKEY_CLASSES_ROOT), 234 for a path
/// longer than kMaxAnsiKeyPathChars.
Result<std::unique_ptr<RegistryKey>> OpenSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root,
                                                std::string_view path, std::uint32_t access);
/// Deletes a key with its subtree; keys still open on it then fail with 1018.
Status DeleteSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root, std::string_view path);
/// Opens or creates a key with full access, with the path rules of OpenSimKey;
/// changes stay in memory.
Result<std::unique_ptr<RegistryKey>> CreateSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root,
                                                  std::string_view path);

}  // namespace kavlo::platform::sim
