#pragma once
// Security descriptors in their self-relative binary form, as GetFileSecurity,
// RegGetKeySecurity and the DCOM permission values hold them, and the security
// identifiers inside them. Parsing never reads outside the given bytes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace kavlo::err {
inline constexpr WinError kInvalidAcl = 1336;
inline constexpr WinError kInvalidSid = 1337;
inline constexpr WinError kInvalidSecurityDescriptor = 1338;
inline constexpr WinError kNoneMapped = 1332;  ///< no account name for a SID or no SID for a name
inline constexpr WinError kNoSuchPrivilege = 1313;
}  // namespace kavlo::err

namespace kavlo::platform {

namespace ace_type {
inline constexpr std::uint8_t kAccessAllowed = 0;
inline constexpr std::uint8_t kAccessDenied = 1;
inline constexpr std::uint8_t kSystemAudit = 2;
inline constexpr std::uint8_t kSystemAlarm = 3;
}  // namespace ace_type

namespace ace_flag {
inline constexpr std::uint8_t kObjectInherit = 0x01;
inline constexpr std::uint8_t kContainerInherit = 0x02;
inline constexpr std::uint8_t kNoPropagateInherit = 0x04;
inline constexpr std::uint8_t kInheritOnly = 0x08;
inline constexpr std::uint8_t kInherited = 0x10;
}  // namespace ace_flag

/// A SID in its binary form (revision 1, sub-authority count, 48-bit authority,
/// sub-authorities); two SIDs are equal exactly when their bytes are.
using SidBytes = std::string;

/// The byte length of the valid SID at the start of `bytes`; nullopt when the
/// bytes do not begin with one (wrong revision, more than 15 sub-authorities, cut off).
std::optional<std::size_t> SidLength(std::string_view bytes);
/// "S-1-5-21-1004336348-1177238915-682003330-1004"; authorities of 2^32 and
/// more in hexadecimal ("S-1-0x1234567890AB-…") as ConvertSidToStringSid writes them.
/// The text of an invalid SID is empty.
std::string SidToText(std::string_view sid);
/// The binary SID of a "S-1-…" text; nullopt for anything else.
std::optional<SidBytes> SidFromText(std::string_view text);

/// One access-control entry. Entries whose type carries no mask and SID in the
/// standard layout (object entries and the like) keep their type and flags only.
struct AccessEntry {
    std::uint8_t type = ace_type::kAccessAllowed;
    std::uint8_t flags = 0;
    std::uint32_t mask = 0;
    SidBytes sid;
    bool operator==(const AccessEntry&) const = default;
};

struct SecurityDescriptorModel {
    SidBytes owner;  ///< empty when the descriptor has none
    SidBytes group;
    /// False for a descriptor without a DACL or with a NULL DACL: nothing is checked.
    bool hasDacl = false;
    bool daclProtected = false;  ///< SE_DACL_PROTECTED: parents' entries are not inherited
    std::vector<AccessEntry> dacl;
    bool operator==(const SecurityDescriptorModel&) const = default;
};

/// Reads a self-relative descriptor: 1338 for a bad header or an offset outside
/// the bytes, 1337 for a bad SID, 1336 for a bad ACL or entry.
Result<SecurityDescriptorModel> ParseSecurityDescriptor(std::string_view bytes);
/// The self-relative bytes of a descriptor (owner, group, DACL; no SACL).
std::string SerializeSecurityDescriptor(const SecurityDescriptorModel& descriptor);

}  // namespace kavlo::platform
