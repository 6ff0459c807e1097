#pragma once
// Built-in tables of the security model: the well-known accounts every
// Windows machine knows (with their SDDL aliases), and the English display
// names of the privileges.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace kavlo::platform {

/// SID_NAME_USE: what kind of account a SID names.
namespace account_use {
inline constexpr std::uint32_t kUser = 1;
inline constexpr std::uint32_t kGroup = 2;
inline constexpr std::uint32_t kDomain = 3;
inline constexpr std::uint32_t kAlias = 4;
inline constexpr std::uint32_t kWellKnownGroup = 5;
}  // namespace account_use

struct WellKnownAccount {
    std::string_view alias;   ///< two-letter SDDL alias, e.g. "BA"
    std::string_view sid;     ///< "S-1-5-32-544"
    std::string_view domain;  ///< "BUILTIN"; empty for Everyone and the creator accounts
    std::string_view name;    ///< "Administrators"
    std::uint32_t use;
};

std::span<const WellKnownAccount> WellKnownAccounts();
/// The account of a SID text or an SDDL alias (either case); null when unknown.
const WellKnownAccount* WellKnownBySidText(std::string_view sidText);
const WellKnownAccount* WellKnownByAlias(std::string_view alias);

/// The English display name of a privilege ("Bypass traverse checking" for
/// "SeChangeNotifyPrivilege"); nullopt for a name that is no privilege.
std::optional<std::string_view> PrivilegeDisplayName(std::string_view privilege);

}  // namespace kavlo::platform
