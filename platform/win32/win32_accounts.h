#pragma once
// Descriptors by object name, account lookups, the process token and
// effective rights on the real machine.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

/// SE_OBJECT_TYPE values of the named objects read here.
inline constexpr int kFileObjectType = 1;
inline constexpr int kServiceObjectType = 2;

/// Owner, group and DACL of a named object (GetNamedSecurityInfoA), as self-relative bytes.
Result<std::string> NamedObjectSecurity(std::string_view name, int objectType);
Result<AccountName> AccountOfSid(std::string_view sid);
Result<std::string> SidOfAccount(std::string_view name);
Result<std::uint32_t> TrusteeRights(std::string_view descriptor, const Trustee& trustee);
Result<std::string> ProcessUserSid();
Result<std::vector<std::string>> ProcessPrivileges();
Result<std::string> PrivilegeDisplayName(std::string_view privilege);

/// NetWkstaUserGetInfo, NetUserGetGroups and NetUserGetLocalGroups from
/// netapi32, which is looked up at run time.
Result<WorkstationUser> LoggedOnUser();
Result<std::vector<std::string>> UserGroups(std::string_view server, std::string_view user, bool local);

}  // namespace kavlo::platform::win32
