#include "platform/security/access_evaluation.h"

#include <algorithm>

namespace kavlo::platform {
namespace {

constexpr std::uint32_t kGenericRead = 0x80000000u;
constexpr std::uint32_t kGenericWrite = 0x40000000u;
constexpr std::uint32_t kGenericExecute = 0x20000000u;
constexpr std::uint32_t kGenericAll = 0x10000000u;
constexpr std::uint32_t kReadControl = 0x20000;
constexpr std::uint32_t kWriteDac = 0x40000;

bool Holds(const std::vector<SidBytes>& sids, const SidBytes& sid) {
    return std::find(sids.begin(), sids.end(), sid) != sids.end();
}

// Granted bits after the entries in order, each mask passed through `map`.
template <class Map>
std::uint32_t Evaluate(const std::vector<AccessEntry>& dacl, const std::vector<SidBytes>& sids, Map map) {
    std::uint32_t granted = 0, denied = 0;
    for (const AccessEntry& entry : dacl) {
        if ((entry.flags & ace_flag::kInheritOnly) != 0 || !Holds(sids, entry.sid)) continue;
        const std::uint32_t mask = map(entry.mask);
        if (entry.type == ace_type::kAccessAllowed) granted |= mask & ~denied;
        else if (entry.type == ace_type::kAccessDenied) denied |= mask & ~granted;
    }
    return granted;
}

}  // namespace

std::uint32_t MapGenericRights(std::uint32_t mask, const GenericMapping& mapping) {
    std::uint32_t out = mask & ~(kGenericRead | kGenericWrite | kGenericExecute | kGenericAll);
    if (mask & kGenericRead) out |= mapping.read;
    if (mask & kGenericWrite) out |= mapping.write;
    if (mask & kGenericExecute) out |= mapping.execute;
    if (mask & kGenericAll) out |= mapping.all;
    return out;
}

std::uint32_t EffectiveRights(const SecurityDescriptorModel& descriptor, const std::vector<SidBytes>& sids) {
    if (!descriptor.hasDacl) return kAllRights;
    return Evaluate(descriptor.dacl, sids, [](std::uint32_t mask) { return mask; });
}

std::uint32_t MaximumAllowedAccess(const SecurityDescriptorModel& descriptor, const std::vector<SidBytes>& sids,
                                   const GenericMapping& mapping) {
    const std::uint32_t ownerRights =
        !descriptor.owner.empty() && Holds(sids, descriptor.owner) ? kReadControl | kWriteDac : 0;
    if (!descriptor.hasDacl) return mapping.all | ownerRights;
    return Evaluate(descriptor.dacl, sids, [&](std::uint32_t mask) { return MapGenericRights(mask, mapping); }) |
           ownerRights;
}

}  // namespace kavlo::platform
