#pragma once
// The security sections of machine.ini: the logged-on user ([logon]), further
// accounts ([account DOMAIN\name]) and descriptors of files, drive roots,
// registry keys and services ([security OBJECT], as SDDL text).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/security/security_descriptor.h"
#include "platform/sim/ini_file.h"

namespace kavlo::platform::sim {

struct SimAccount {
    std::string domain;  ///< empty for an account without one
    std::string name;
    SidBytes sid;
    std::uint32_t use = 0;              ///< SID_NAME_USE
    std::vector<std::string> memberOf;  ///< group names as written ("BUILTIN\Users" or "Users")
};

struct SimLogon {
    SimAccount user;  ///< the logged-on user's account; its memberOf holds both group lists
    std::string logonServer;
    std::string otherDomains;
    std::vector<std::string> globalGroups;
    std::vector<std::string> localGroups;
    std::vector<std::string> privileges;  ///< token order
};

struct SecurityConfig {
    std::optional<SimLogon> logon;
    std::vector<SimAccount> accounts;
    /// By object key: "C:\DIR\FILE", "C:\", "HKLM\SOFTWARE\X" or "SERVICE NAME", folded.
    std::map<std::string, SecurityDescriptorModel> descriptors;
    bool Empty() const { return !logon && accounts.empty() && descriptors.empty(); }
};

/// The key a [security OBJECT] section files its descriptor under: a full file
/// path or drive root, a registry path with HKLM, HKCU, HKCR, HKU (or their long
/// names), or "service NAME". Nullopt when the object is none of these.
std::optional<std::string> SecurityObjectKey(std::string_view object);

/// True for the section kinds this reader owns: "logon", "account", "security".
bool IsSecuritySection(std::string_view kind);
/// Reads one such section into `config`; why not when it is malformed.
std::optional<SectionError> ReadSecuritySection(const IniSection& section, std::string_view kind,
                                                std::string_view argument, SecurityConfig& config);

}  // namespace kavlo::platform::sim
