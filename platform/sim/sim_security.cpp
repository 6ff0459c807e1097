#include "platform/sim/sim_security.h"

#include <algorithm>

#include "platform/security/access_evaluation.h"
#include "platform/security/well_known.h"
#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {
namespace {

constexpr WinError kUserNotFound = 2221;  // NERR_UserNotFound
constexpr std::size_t kMaxGroupNesting = 16;

using namespace ace_flag;

// The entries a child inherits from its parent's DACL, marked inherited.
std::vector<AccessEntry> Inherited(const std::vector<AccessEntry>& parent, bool childIsContainer) {
    std::vector<AccessEntry> out;
    for (const AccessEntry& entry : parent) {
        AccessEntry child = entry;
        const bool noPropagate = (entry.flags & kNoPropagateInherit) != 0;
        if (!childIsContainer) {
            if ((entry.flags & kObjectInherit) == 0) continue;
            child.flags = kInherited;
        } else if ((entry.flags & kContainerInherit) != 0) {
            child.flags =
                noPropagate ? kInherited : static_cast<std::uint8_t>((entry.flags & ~kInheritOnly) | kInherited);
        } else if ((entry.flags & kObjectInherit) != 0 && !noPropagate) {
            // Passed on to the files below, not applied to the folder itself.
            child.flags = static_cast<std::uint8_t>(entry.flags | kInheritOnly | kInherited);
        } else {
            continue;
        }
        out.push_back(std::move(child));
    }
    return out;
}

bool NamesAccount(const SimAccount& account, std::string_view name) {
    const std::size_t slash = name.find('\\');
    if (slash == std::string_view::npos) return SameName(account.name, name);
    return SameName(account.domain, name.substr(0, slash)) && SameName(account.name, name.substr(slash + 1));
}

SimAccount FromWellKnown(const WellKnownAccount& known) {
    return SimAccount{std::string(known.domain), std::string(known.name), *SidFromText(known.sid), known.use, {}};
}

}  // namespace

std::string SimSecurity::Descriptor(const std::vector<std::string>& chain, bool lastIsContainer) const {
    SecurityDescriptorModel current;  // nothing described above the root: no DACL
    for (std::size_t level = 0; level < chain.size(); ++level) {
        const bool container = level + 1 < chain.size() || lastIsContainer;
        SecurityDescriptorModel next = current;
        next.dacl = current.hasDacl ? Inherited(current.dacl, container) : std::vector<AccessEntry>{};
        next.daclProtected = false;
        const auto own = config_.descriptors.find(chain[level]);
        if (own != config_.descriptors.end()) {
            const SecurityDescriptorModel& written = own->second;
            if (!written.owner.empty()) next.owner = written.owner;
            if (!written.group.empty()) next.group = written.group;
            next.hasDacl = written.hasDacl;
            next.daclProtected = written.daclProtected;
            std::vector<AccessEntry> dacl = written.dacl;
            if (written.hasDacl && !written.daclProtected) dacl.insert(dacl.end(), next.dacl.begin(), next.dacl.end());
            next.dacl = written.hasDacl ? std::move(dacl) : std::vector<AccessEntry>{};
        } else if (!current.hasDacl) {
            next.hasDacl = false;
        }
        current = std::move(next);
    }
    return SerializeSecurityDescriptor(current);
}

Result<std::string> SimSecurity::ServiceDescriptor(std::string_view serviceName) const {
    const auto found = config_.descriptors.find("SERVICE " + FoldName(serviceName));
    if (found == config_.descriptors.end()) return Result<std::string>::Failure(err::kFileNotFound);
    return SerializeSecurityDescriptor(found->second);
}

const SimAccount* SimSecurity::AccountBySid(std::string_view sid) const {
    if (config_.logon && config_.logon->user.sid == sid) return &config_.logon->user;
    for (const SimAccount& account : config_.accounts)
        if (account.sid == sid) return &account;
    return nullptr;
}

const SimAccount* SimSecurity::AccountByName(std::string_view name) const {
    if (config_.logon && NamesAccount(config_.logon->user, name)) return &config_.logon->user;
    for (const SimAccount& account : config_.accounts)
        if (NamesAccount(account, name)) return &account;
    return nullptr;
}

Result<AccountName> SimSecurity::AccountOfSid(std::string_view sid) const {
    if (const SimAccount* account = AccountBySid(sid)) return AccountName{account->name, account->domain, account->use};
    if (const WellKnownAccount* known = WellKnownBySidText(SidToText(sid)))
        return AccountName{std::string(known->name), std::string(known->domain), known->use};
    return Result<AccountName>::Failure(err::kNoneMapped);
}

Result<std::string> SimSecurity::SidOfAccount(std::string_view name) const {
    if (const SimAccount* account = AccountByName(name)) return account->sid;
    for (const WellKnownAccount& known : WellKnownAccounts())
        if (NamesAccount(FromWellKnown(known), name)) return *SidFromText(known.sid);
    return Result<std::string>::Failure(err::kNoneMapped);
}

std::vector<SidBytes> SimSecurity::SidsOf(const SidBytes& sid) const {
    std::vector<SidBytes> sids{sid};
    const SimAccount* self = AccountBySid(sid);
    const bool isUser = self && self->use == account_use::kUser;
    // Breadth first over memberships; the visited list stops cycles.
    for (std::size_t next = 0; next < sids.size() && next < kMaxGroupNesting * 8; ++next) {
        const SimAccount* account = AccountBySid(sids[next]);
        if (!account) continue;
        for (const std::string& group : account->memberOf) {
            auto groupSid = SidOfAccount(group);
            if (groupSid && std::find(sids.begin(), sids.end(), *groupSid) == sids.end()) sids.push_back(*groupSid);
        }
    }
    for (std::string_view implied : {"S-1-1-0", "S-1-5-11", "S-1-5-4"}) {
        if (!isUser && implied != "S-1-1-0") continue;
        SidBytes bytes = *SidFromText(implied);
        if (std::find(sids.begin(), sids.end(), bytes) == sids.end()) sids.push_back(std::move(bytes));
    }
    return sids;
}

Result<std::uint32_t> SimSecurity::TrusteeRights(std::string_view descriptor, const Trustee& trustee) const {
    using R = Result<std::uint32_t>;
    auto parsed = ParseSecurityDescriptor(descriptor);
    if (!parsed) return R::Failure(parsed.error());
    SidBytes sid = trustee.value;
    if (trustee.form == Trustee::Form::Name) {
        auto found = SidOfAccount(trustee.value);
        if (!found) return R::Failure(found.error());
        sid = std::move(*found);
    }
    return EffectiveRights(*parsed, SidsOf(sid));
}

Result<WorkstationUser> SimSecurity::LoggedOnUser() const {
    if (!config_.logon) return Result<WorkstationUser>::Failure(err::kNotSupported);
    const SimLogon& logon = *config_.logon;
    return WorkstationUser{logon.user.name, logon.user.domain, logon.otherDomains, logon.logonServer};
}

Result<std::vector<std::string>> SimSecurity::UserGroups(std::string_view user, bool local) const {
    using R = Result<std::vector<std::string>>;
    if (config_.logon && SameName(config_.logon->user.name, user))
        return local ? config_.logon->localGroups : config_.logon->globalGroups;
    const SimAccount* account = AccountByName(user);
    if (!account || account->use != account_use::kUser) return R::Failure(kUserNotFound);
    // Other users: their groups sorted by where they live (BUILTIN is local).
    std::vector<std::string> out;
    for (const std::string& group : account->memberOf) {
        auto sid = SidOfAccount(group);
        auto name = sid ? AccountOfSid(*sid) : Result<AccountName>::Failure(err::kNoneMapped);
        if (!name) continue;
        const bool isLocal = name->use == account_use::kAlias || name->use == account_use::kWellKnownGroup;
        if (isLocal == local) out.push_back(name->name);
    }
    return out;
}

Result<std::string> SimSecurity::ProcessUserSid() const {
    if (!config_.logon) return Result<std::string>::Failure(err::kNotSupported);
    return config_.logon->user.sid;
}

Result<std::vector<std::string>> SimSecurity::ProcessPrivileges() const {
    if (!config_.logon) return Result<std::vector<std::string>>::Failure(err::kNotSupported);
    return config_.logon->privileges;
}

Result<std::string> SimSecurity::PrivilegeDisplayName(std::string_view privilege) const {
    const auto display = platform::PrivilegeDisplayName(privilege);
    if (!display) return Result<std::string>::Failure(err::kNoSuchPrivilege);
    return std::string(*display);
}

Result<std::uint32_t> SimSecurity::FileAccess(std::string_view descriptor) const {
    return UserAccess(descriptor, kFileGenericMapping);
}

Result<std::uint32_t> SimSecurity::UserAccess(std::string_view descriptor, const GenericMapping& mapping) const {
    using R = Result<std::uint32_t>;
    if (!config_.logon) return R::Failure(err::kNotSupported);
    auto parsed = ParseSecurityDescriptor(descriptor);
    if (!parsed) return R::Failure(parsed.error());
    return MaximumAllowedAccess(*parsed, SidsOf(config_.logon->user.sid), mapping);
}

}  // namespace kavlo::platform::sim
