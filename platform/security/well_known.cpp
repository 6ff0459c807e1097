#include "platform/security/well_known.h"

#include <utility>

namespace kavlo::platform {
namespace {

using namespace account_use;

constexpr WellKnownAccount kAccounts[] = {
    {"WD", "S-1-1-0", "", "Everyone", kWellKnownGroup},
    {"CO", "S-1-3-0", "", "CREATOR OWNER", kWellKnownGroup},
    {"CG", "S-1-3-1", "", "CREATOR GROUP", kWellKnownGroup},
    {"NU", "S-1-5-2", "NT AUTHORITY", "NETWORK", kWellKnownGroup},
    {"IU", "S-1-5-4", "NT AUTHORITY", "INTERACTIVE", kWellKnownGroup},
    {"SU", "S-1-5-6", "NT AUTHORITY", "SERVICE", kWellKnownGroup},
    {"AN", "S-1-5-7", "NT AUTHORITY", "ANONYMOUS LOGON", kWellKnownGroup},
    {"AU", "S-1-5-11", "NT AUTHORITY", "Authenticated Users", kWellKnownGroup},
    {"RC", "S-1-5-12", "NT AUTHORITY", "RESTRICTED", kWellKnownGroup},
    {"SY", "S-1-5-18", "NT AUTHORITY", "SYSTEM", kWellKnownGroup},
    {"LS", "S-1-5-19", "NT AUTHORITY", "LOCAL SERVICE", kWellKnownGroup},
    {"NS", "S-1-5-20", "NT AUTHORITY", "NETWORK SERVICE", kWellKnownGroup},
    {"BA", "S-1-5-32-544", "BUILTIN", "Administrators", kAlias},
    {"BU", "S-1-5-32-545", "BUILTIN", "Users", kAlias},
    {"BG", "S-1-5-32-546", "BUILTIN", "Guests", kAlias},
    {"PU", "S-1-5-32-547", "BUILTIN", "Power Users", kAlias},
    {"AO", "S-1-5-32-548", "BUILTIN", "Account Operators", kAlias},
    {"SO", "S-1-5-32-549", "BUILTIN", "Server Operators", kAlias},
    {"PO", "S-1-5-32-550", "BUILTIN", "Print Operators", kAlias},
    {"BO", "S-1-5-32-551", "BUILTIN", "Backup Operators", kAlias},
    {"RE", "S-1-5-32-552", "BUILTIN", "Replicator", kAlias},
};

constexpr std::pair<std::string_view, std::string_view> kPrivileges[] = {
    {"SeCreateTokenPrivilege", "Create a token object"},
    {"SeAssignPrimaryTokenPrivilege", "Replace a process level token"},
    {"SeLockMemoryPrivilege", "Lock pages in memory"},
    {"SeIncreaseQuotaPrivilege", "Increase quotas"},
    {"SeUnsolicitedInputPrivilege", "Read unsolicited input from a terminal device"},
    {"SeMachineAccountPrivilege", "Add workstations to domain"},
    {"SeTcbPrivilege", "Act as part of the operating system"},
    {"SeSecurityPrivilege", "Manage auditing and security log"},
    {"SeTakeOwnershipPrivilege", "Take ownership of files or other objects"},
    {"SeLoadDriverPrivilege", "Load and unload device drivers"},
    {"SeSystemProfilePrivilege", "Profile system performance"},
    {"SeSystemtimePrivilege", "Change the system time"},
    {"SeProfileSingleProcessPrivilege", "Profile single process"},
    {"SeIncreaseBasePriorityPrivilege", "Increase scheduling priority"},
    {"SeCreatePagefilePrivilege", "Create a pagefile"},
    {"SeCreatePermanentPrivilege", "Create permanent shared objects"},
    {"SeBackupPrivilege", "Back up files and directories"},
    {"SeRestorePrivilege", "Restore files and directories"},
    {"SeShutdownPrivilege", "Shut down the system"},
    {"SeDebugPrivilege", "Debug programs"},
    {"SeAuditPrivilege", "Generate security audits"},
    {"SeSystemEnvironmentPrivilege", "Modify firmware environment values"},
    {"SeChangeNotifyPrivilege", "Bypass traverse checking"},
    {"SeRemoteShutdownPrivilege", "Force shutdown from a remote system"},
    {"SeUndockPrivilege", "Remove computer from docking station"},
    {"SeSyncAgentPrivilege", "Synchronize directory service data"},
    {"SeEnableDelegationPrivilege", "Enable computer and user accounts to be trusted for delegation"},
    {"SeManageVolumePrivilege", "Perform volume maintenance tasks"},
    {"SeImpersonatePrivilege", "Impersonate a client after authentication"},
    {"SeCreateGlobalPrivilege", "Create global objects"},
};

bool SameAscii(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

}  // namespace

std::span<const WellKnownAccount> WellKnownAccounts() { return kAccounts; }

const WellKnownAccount* WellKnownBySidText(std::string_view sidText) {
    for (const WellKnownAccount& account : kAccounts)
        if (SameAscii(account.sid, sidText)) return &account;
    return nullptr;
}

const WellKnownAccount* WellKnownByAlias(std::string_view alias) {
    for (const WellKnownAccount& account : kAccounts)
        if (SameAscii(account.alias, alias)) return &account;
    return nullptr;
}

std::optional<std::string_view> PrivilegeDisplayName(std::string_view privilege) {
    // Privilege names are matched without regard to case, as LookupPrivilegeValue does.
    for (const auto& [name, display] : kPrivileges)
        if (SameAscii(name, privilege)) return display;
    return std::nullopt;
}

}  // namespace kavlo::platform
