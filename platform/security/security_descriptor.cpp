#include "platform/security/security_descriptor.h"

#include <charconv>

namespace kavlo::platform {
namespace {

constexpr std::size_t kHeaderBytes = 20;
constexpr std::size_t kAclHeaderBytes = 8;
constexpr std::size_t kAceHeaderBytes = 4;
constexpr std::size_t kMaxSubAuthorities = 15;
constexpr std::uint16_t kDaclPresent = 0x0004;
constexpr std::uint16_t kDaclProtected = 0x1000;
constexpr std::uint16_t kSelfRelative = 0x8000;
constexpr std::uint8_t kAclRevision = 2;
constexpr std::uint8_t kAclRevisionDs = 4;

std::uint16_t Read16(std::string_view b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t Read32(std::string_view b, std::size_t at) {
    return static_cast<std::uint32_t>(Read16(b, at)) | static_cast<std::uint32_t>(Read16(b, at + 2)) << 16;
}
void Put16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, std::uint32_t v) {
    Put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<std::uint16_t>(v >> 16));
}
void Set32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Entry types whose body is an access mask followed by a SID.
bool HasMaskAndSid(std::uint8_t type) { return type <= ace_type::kSystemAlarm; }

Result<SidBytes> SidAt(std::string_view bytes, std::uint32_t offset) {
    if (offset >= bytes.size()) return Result<SidBytes>::Failure(err::kInvalidSecurityDescriptor);
    const std::string_view rest = bytes.substr(offset);
    const auto length = SidLength(rest);
    if (!length) return Result<SidBytes>::Failure(err::kInvalidSid);
    return SidBytes(rest.substr(0, *length));
}

Result<std::vector<AccessEntry>> AclAt(std::string_view bytes, std::uint32_t offset) {
    using R = Result<std::vector<AccessEntry>>;
    if (offset >= bytes.size() || bytes.size() - offset < kAclHeaderBytes)
        return R::Failure(err::kInvalidSecurityDescriptor);
    const std::string_view header = bytes.substr(offset);
    const std::uint8_t revision = static_cast<std::uint8_t>(header[0]);
    const std::size_t aclSize = Read16(header, 2);
    const std::size_t count = Read16(header, 4);
    if ((revision != kAclRevision && revision != kAclRevisionDs) || aclSize < kAclHeaderBytes ||
        aclSize > header.size())
        return R::Failure(err::kInvalidAcl);
    const std::string_view acl = header.substr(0, aclSize);
    std::vector<AccessEntry> entries;
    // Every entry takes at least its header, so the ACL's size bounds the count.
    if (count > (aclSize - kAclHeaderBytes) / kAceHeaderBytes) return R::Failure(err::kInvalidAcl);
    entries.reserve(count);
    std::size_t at = kAclHeaderBytes;
    for (std::size_t i = 0; i < count; ++i) {
        if (acl.size() - at < kAceHeaderBytes) return R::Failure(err::kInvalidAcl);
        AccessEntry entry;
        entry.type = static_cast<std::uint8_t>(acl[at]);
        entry.flags = static_cast<std::uint8_t>(acl[at + 1]);
        const std::size_t aceSize = Read16(acl, at + 2);
        if (aceSize < kAceHeaderBytes || aceSize > acl.size() - at) return R::Failure(err::kInvalidAcl);
        if (HasMaskAndSid(entry.type)) {
            const std::string_view body = acl.substr(at + kAceHeaderBytes, aceSize - kAceHeaderBytes);
            if (body.size() < 4) return R::Failure(err::kInvalidAcl);
            entry.mask = Read32(body, 0);
            const auto length = SidLength(body.substr(4));
            if (!length) return R::Failure(err::kInvalidAcl);
            entry.sid = SidBytes(body.substr(4, *length));
        }
        entries.push_back(std::move(entry));
        at += aceSize;
    }
    return entries;
}

std::string SerializeAcl(const std::vector<AccessEntry>& entries) {
    std::string body;
    for (const AccessEntry& e : entries) {
        const std::size_t size = kAceHeaderBytes + 4 + e.sid.size();
        body += static_cast<char>(e.type);
        body += static_cast<char>(e.flags);
        Put16(body, static_cast<std::uint16_t>(size));
        Put32(body, e.mask);
        body += e.sid;
    }
    std::string acl;
    acl += static_cast<char>(kAclRevision);
    acl += '\0';
    Put16(acl, static_cast<std::uint16_t>(kAclHeaderBytes + body.size()));
    Put16(acl, static_cast<std::uint16_t>(entries.size()));
    Put16(acl, 0);
    return acl + body;
}

}  // namespace

std::optional<std::size_t> SidLength(std::string_view bytes) {
    if (bytes.size() < 8 || bytes[0] != 1) return std::nullopt;
    const std::size_t count = static_cast<unsigned char>(bytes[1]);
    if (count > kMaxSubAuthorities) return std::nullopt;
    const std::size_t length = 8 + 4 * count;
    if (bytes.size() < length) return std::nullopt;
    return length;
}

std::string SidToText(std::string_view sid) {
    const auto length = SidLength(sid);
    if (!length || *length != sid.size()) return {};
    std::uint64_t authority = 0;
    for (std::size_t i = 2; i < 8; ++i) authority = authority << 8 | static_cast<unsigned char>(sid[i]);
    std::string text = "S-1-";
    if (authority >> 32) {
        static const char kHex[] = "0123456789ABCDEF";
        text += "0x";
        for (int shift = 44; shift >= 0; shift -= 4) text += kHex[(authority >> shift) & 0xF];
    } else {
        text += std::to_string(authority);
    }
    for (std::size_t at = 8; at < sid.size(); at += 4) text += "-" + std::to_string(Read32(sid, at));
    return text;
}

std::optional<SidBytes> SidFromText(std::string_view text) {
    if (text.size() < 4 || (text[0] != 'S' && text[0] != 's') || text.substr(1, 3) != "-1-") return std::nullopt;
    text.remove_prefix(4);
    auto number = [&text](std::uint64_t max, int base) -> std::optional<std::uint64_t> {
        std::uint64_t value = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
        if (ec != std::errc() || end == text.data() || value > max) return std::nullopt;
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        return value;
    };
    std::optional<std::uint64_t> authority;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        authority = number(0xFFFFFFFFFFFFull, 16);
    } else {
        authority = number(0xFFFFFFFFFFFFull, 10);
    }
    if (!authority) return std::nullopt;
    std::vector<std::uint32_t> subs;
    while (!text.empty()) {
        if (text[0] != '-' || subs.size() == kMaxSubAuthorities) return std::nullopt;
        text.remove_prefix(1);
        const auto sub = number(0xFFFFFFFFu, 10);
        if (!sub) return std::nullopt;
        subs.push_back(static_cast<std::uint32_t>(*sub));
    }
    SidBytes sid;
    sid += '\x01';
    sid += static_cast<char>(subs.size());
    for (int shift = 40; shift >= 0; shift -= 8) sid += static_cast<char>((*authority >> shift) & 0xFF);
    for (std::uint32_t sub : subs) Put32(sid, sub);
    return sid;
}

Result<SecurityDescriptorModel> ParseSecurityDescriptor(std::string_view bytes) {
    using R = Result<SecurityDescriptorModel>;
    if (bytes.size() < kHeaderBytes || bytes[0] != 1) return R::Failure(err::kInvalidSecurityDescriptor);
    const std::uint16_t control = Read16(bytes, 2);
    if ((control & kSelfRelative) == 0) return R::Failure(err::kInvalidSecurityDescriptor);
    const std::uint32_t ownerOffset = Read32(bytes, 4);
    const std::uint32_t groupOffset = Read32(bytes, 8);
    const std::uint32_t daclOffset = Read32(bytes, 16);
    SecurityDescriptorModel model;
    if (ownerOffset != 0) {
        auto owner = SidAt(bytes, ownerOffset);
        if (!owner) return R::Failure(owner.error());
        model.owner = std::move(*owner);
    }
    if (groupOffset != 0) {
        auto group = SidAt(bytes, groupOffset);
        if (!group) return R::Failure(group.error());
        model.group = std::move(*group);
    }
    // A present DACL at offset 0 is the NULL DACL, which checks nothing.
    if ((control & kDaclPresent) != 0 && daclOffset != 0) {
        auto dacl = AclAt(bytes, daclOffset);
        if (!dacl) return R::Failure(dacl.error());
        model.hasDacl = true;
        model.dacl = std::move(*dacl);
    }
    model.daclProtected = (control & kDaclProtected) != 0;
    return model;
}

std::string SerializeSecurityDescriptor(const SecurityDescriptorModel& descriptor) {
    std::string out(kHeaderBytes, '\0');
    out[0] = 1;
    std::uint16_t control = kSelfRelative;
    if (descriptor.hasDacl) control |= kDaclPresent;
    if (descriptor.daclProtected) control |= kDaclProtected;
    out[2] = static_cast<char>(control & 0xFF);
    out[3] = static_cast<char>(control >> 8);
    if (!descriptor.owner.empty()) {
        Set32(out, 4, static_cast<std::uint32_t>(out.size()));
        out += descriptor.owner;
    }
    if (!descriptor.group.empty()) {
        Set32(out, 8, static_cast<std::uint32_t>(out.size()));
        out += descriptor.group;
    }
    if (descriptor.hasDacl) {
        Set32(out, 16, static_cast<std::uint32_t>(out.size()));
        out += SerializeAcl(descriptor.dacl);
    }
    return out;
}

}  // namespace kavlo::platform
