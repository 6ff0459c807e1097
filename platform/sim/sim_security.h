#pragma once
// The security of the simulated machine: descriptors inherited down the file
// and registry trees, account lookups, group membership, the logged-on user's
// token and effective rights, all from the security sections of machine.ini.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"
#include "platform/security/access_evaluation.h"
#include "platform/sim/security_config.h"

namespace kavlo::platform::sim {

class SimSecurity {
public:
    explicit SimSecurity(const SecurityConfig& config) : config_(config) {}

    /// False for images without security sections: they answer 50, as before.
    bool Available() const { return !config_.Empty(); }

    /// The self-relative descriptor of the last object of a chain of object keys
    /// (SecurityObjectKey form) from a root down: each level inherits from the
    /// one above it; every level but the last is a container.
    std::string Descriptor(const std::vector<std::string>& chain, bool lastIsContainer) const;
    /// The descriptor of a service; 2 when none is described.
    Result<std::string> ServiceDescriptor(std::string_view serviceName) const;

    Result<AccountName> AccountOfSid(std::string_view sid) const;
    Result<std::string> SidOfAccount(std::string_view name) const;
    Result<std::uint32_t> TrusteeRights(std::string_view descriptor, const Trustee& trustee) const;
    Result<WorkstationUser> LoggedOnUser() const;
    Result<std::vector<std::string>> UserGroups(std::string_view user, bool local) const;
    Result<std::string> ProcessUserSid() const;
    Result<std::vector<std::string>> ProcessPrivileges() const;
    Result<std::string> PrivilegeDisplayName(std::string_view privilege) const;
    /// The maximum access the logged-on user's token is granted on a file descriptor.
    Result<std::uint32_t> FileAccess(std::string_view descriptor) const;
    /// The same for any object kind, its generic rights mapped with `mapping`.
    Result<std::uint32_t> UserAccess(std::string_view descriptor, const GenericMapping& mapping) const;

private:
    const SimAccount* AccountBySid(std::string_view sid) const;
    const SimAccount* AccountByName(std::string_view name) const;
    /// The SID and every group SID it belongs to (directly, through other groups,
    /// Everyone, and for users Authenticated Users and INTERACTIVE).
    std::vector<SidBytes> SidsOf(const SidBytes& sid) const;

    const SecurityConfig& config_;
};

}  // namespace kavlo::platform::sim
