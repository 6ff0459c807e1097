#pragma once
// Registry path syntax ("HKLM\Key\Path\Value", with an optional "*" wildcard)
// and the value readers shared by the registry commands and other probes.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/app_context.h"
#include "platform/machine.h"

namespace kavlo {

/// A registry path split into its root, key path and value name.
struct RegistryPath {
    std::optional<platform::RegRoot> root;  ///< none when the root word names no hive
    std::string rootWord;
    std::string keyPath;
    std::string valueName;
};

/// The root named by a root word containing "HKLM", "HKCU" or "HKCR".
std::optional<platform::RegRoot> RootOf(std::string_view rootWord);
/// Splits a value path as the registry commands do (root word removed everywhere).
RegistryPath SplitValuePath(std::string_view path);
/// Splits a key path: as SplitValuePath, but everything after the root is the key path.
RegistryPath SplitKeyPath(std::string_view path);
/// Opens a key for reading; fails with 6 (invalid handle) when the root word named no hive.
Result<std::unique_ptr<platform::RegistryKey>> OpenRegistryKey(platform::Machine& machine,
                                                               std::optional<platform::RegRoot> root,
                                                               std::string_view keyPath);
/// The text that readers show for a failure: "Not Present" for 2, else the system's message.
std::string FailureText(platform::Machine& machine, WinError error);
/// Resolves one "*" at the end of a key name to the first matching subkey.
std::string ResolveWildcard(platform::Machine& machine, std::optional<platform::RegRoot> root,
                            std::string_view keyPath);
/// The value as text, "Not Present" when absent, else the system's error text.
std::string ReadValueText(AppContext& context, std::string_view path);
/// The value as a 32-bit number (0 when absent or not a DWORD); applies SubstituteVars.
std::uint32_t ReadValueNumber(AppContext& context, std::string_view path);
/// 1 when the key opens and the value fits a 400-byte buffer.
int ValueExists(platform::Machine& machine, std::optional<platform::RegRoot> root, std::string_view keyPath,
                std::string_view valueName);
/// 1 when the key opens.
int KeyExists(platform::Machine& machine, std::optional<platform::RegRoot> root, std::string_view keyPath);
/// The name of the value at `index` however large its data (and its name, up to
/// the registry's 16,383 characters): listings show an oversized value by its
/// name and the system's more-data text, then go on. Fails as EnumValue does.
Result<std::string> ValueNameAt(const platform::RegistryKey& key, std::uint32_t index);
/// The line end of a value that a listing shows with the more-data text (234).
std::string MoreDataText(platform::Machine& machine);
/// Formats registry data by type; `hexDword` gives "0x" + hex for DWORDs, `allStrings`
/// joins every string of a REG_MULTI_SZ with "\n" (else only the first).
std::string FormatValueText(const platform::RegValue& value, bool hexDword, bool allStrings);

}  // namespace kavlo
