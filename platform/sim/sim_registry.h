#pragma once
// Registry keys of the simulated machine, over its in-memory RegistryStore.

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/machine.h"
#include "platform/sim/registry_store.h"

namespace kavlo::platform::sim {

/// Opens an existing key; 2 when it does not exist.
Result<std::unique_ptr<RegistryKey>> OpenSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root,
                                                std::string_view path, std::uint32_t access);
/// Deletes a key with its subtree; keys still open on it then fail with 1018.
Status DeleteSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root, std::string_view path);
/// Opens or creates a key with full access; changes stay in memory.
Result<std::unique_ptr<RegistryKey>> CreateSimKey(const std::shared_ptr<RegistryStore>& store, RegRoot root,
                                                  std::string_view path);

}  // namespace kavlo::platform::sim
