#pragma once
// What an access list grants: the effective rights of a trustee (the rule of
// GetEffectiveRightsFromAcl) and the maximum access a token is granted (the
// rule of AccessCheck for MAXIMUM_ALLOWED).

#include <cstdint>
#include <vector>

#include "platform/security/security_descriptor.h"

namespace kavlo::platform {

/// Everything: what a descriptor without a DACL grants its trustees.
inline constexpr std::uint32_t kAllRights = 0xFFFFFFFFu;

/// The specific rights that each generic right stands for, per object kind.
struct GenericMapping {
    std::uint32_t read, write, execute, all;
};
inline constexpr GenericMapping kFileGenericMapping = {0x120089, 0x120116, 0x1200A0, 0x1F01FF};
inline constexpr GenericMapping kKeyGenericMapping = {0x20019, 0x20006, 0x20019, 0xF003F};

/// The mask with GENERIC_READ/WRITE/EXECUTE/ALL replaced by what they map to.
std::uint32_t MapGenericRights(std::uint32_t mask, const GenericMapping& mapping);

/// The rights that the entries naming one of `sids` grant, in order: an allow
/// adds the bits no earlier deny removed, a deny removes the bits no earlier
/// allow granted; inherit-only entries and audit entries are ignored. Masks are
/// taken as stored. A descriptor without a DACL grants kAllRights.
std::uint32_t EffectiveRights(const SecurityDescriptorModel& descriptor, const std::vector<SidBytes>& sids);

/// The access a token holding `sids` is granted when it asks for the maximum:
/// masks mapped with `mapping`, the owner always granted READ_CONTROL and WRITE_DAC.
std::uint32_t MaximumAllowedAccess(const SecurityDescriptorModel& descriptor, const std::vector<SidBytes>& sids,
                                   const GenericMapping& mapping);

}  // namespace kavlo::platform
