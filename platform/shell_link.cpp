#include "platform/shell_link.h"

#include <cstring>

#include "platform/codepage.h"

namespace kavlo::platform {
namespace {

constexpr std::size_t kHeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046} as stored.
constexpr unsigned char kLinkClassId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                            0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

namespace flag {
constexpr std::uint32_t kHasIdList = 0x1;
constexpr std::uint32_t kHasLinkInfo = 0x2;
constexpr std::uint32_t kHasName = 0x4;
constexpr std::uint32_t kHasRelativePath = 0x8;
constexpr std::uint32_t kHasWorkingDir = 0x10;
constexpr std::uint32_t kHasArguments = 0x20;
constexpr std::uint32_t kHasIconLocation = 0x40;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kForceNoLinkInfo = 0x100;
}  // namespace flag

constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x1;
constexpr std::uint32_t kCommonNetworkRelativeLink = 0x2;
constexpr std::size_t kNetNameOffsetField = 8;  // within the network block
constexpr std::size_t kUnicodeOffsetsHeaderSize = 0x24;

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool Has(std::size_t at, std::size_t count) const { return at <= bytes_.size() && count <= bytes_.size() - at; }
    bool U16(std::size_t at, std::uint32_t& out) const {
        if (!Has(at, 2)) return false;
        out = static_cast<unsigned char>(bytes_[at]) | static_cast<unsigned char>(bytes_[at + 1]) << 8;
        return true;
    }
    bool U32(std::size_t at, std::uint32_t& out) const {
        std::uint32_t low = 0, high = 0;
        if (!U16(at, low) || !U16(at + 2, high)) return false;
        out = low | high << 16;
        return true;
    }
    std::string_view Slice(std::size_t at, std::size_t count) const { return bytes_.substr(at, count); }

private:
    std::string_view bytes_;
};

// A zero-ended string of the block at an offset; false when it is not ended inside the block.
bool AnsiAt(std::string_view block, std::size_t offset, std::string& out) {
    if (offset >= block.size()) return false;
    const std::size_t end = block.find('\0', offset);
    if (end == std::string_view::npos) return false;
    out.assign(block.substr(offset, end - offset));
    return true;
}

bool UnicodeAt(std::string_view block, std::size_t offset, std::uint32_t codePage, std::string& out) {
    std::u16string text;
    for (std::size_t at = offset; at + 1 < block.size(); at += 2) {
        const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(block[at]) |
                                                    static_cast<unsigned char>(block[at + 1]) << 8);
        if (unit == 0) {
            out = Utf16ToAnsi(text, codePage);
            return true;
        }
        text.push_back(unit);
    }
    return false;
}

std::string JoinTarget(std::string base, const std::string& suffix) {
    if (!suffix.empty() && !base.empty() && base.back() != '\\') base += '\\';
    return base + suffix;
}

// The link-info block at `at`; its size is checked by the caller.
bool ReadLinkInfo(std::string_view block, std::uint32_t codePage, std::string& target) {
    Reader r(block);
    std::uint32_t headerSize = 0, flags = 0, localOffset = 0, networkOffset = 0, suffixOffset = 0;
    if (!r.U32(4, headerSize) || !r.U32(8, flags) || !r.U32(16, localOffset) || !r.U32(20, networkOffset) ||
        !r.U32(24, suffixOffset))
        return false;
    std::string base, suffix;
    const bool unicode = headerSize >= kUnicodeOffsetsHeaderSize;
    std::uint32_t localUnicode = 0, suffixUnicode = 0;
    if (unicode && (!r.U32(28, localUnicode) || !r.U32(32, suffixUnicode))) return false;
    if (flags & kVolumeIdAndLocalBasePath) {
        const bool ok =
            unicode && localUnicode ? UnicodeAt(block, localUnicode, codePage, base) : AnsiAt(block, localOffset, base);
        if (!ok) return false;
    } else if (flags & kCommonNetworkRelativeLink) {
        std::uint32_t netNameOffset = 0;
        if (!r.U32(std::size_t{networkOffset} + kNetNameOffsetField, netNameOffset)) return false;
        if (!AnsiAt(block, std::size_t{networkOffset} + netNameOffset, base)) return false;
    } else {
        return true;  // neither form: no target from here
    }
    const bool ok = unicode && suffixUnicode ? UnicodeAt(block, suffixUnicode, codePage, suffix)
                                             : AnsiAt(block, suffixOffset, suffix);
    if (!ok) return false;
    target = JoinTarget(std::move(base), suffix);
    return true;
}

}  // namespace

Result<ShellLink> ParseShellLink(std::string_view bytes, std::uint32_t codePage) {
    using R = Result<ShellLink>;
    const Reader r(bytes);
    std::uint32_t headerSize = 0, flags = 0;
    if (!r.U32(0, headerSize) || headerSize != kHeaderSize || !r.Has(0, kHeaderSize) ||
        std::memcmp(bytes.data() + 4, kLinkClassId, sizeof kLinkClassId) != 0 || !r.U32(0x14, flags))
        return R::Failure(kShellLinkCorrupt);
    std::size_t at = kHeaderSize;
    if (flags & flag::kHasIdList) {
        std::uint32_t listSize = 0;
        if (!r.U16(at, listSize) || !r.Has(at + 2, listSize)) return R::Failure(kShellLinkCorrupt);
        at += 2 + listSize;
    }
    ShellLink link;
    if ((flags & flag::kHasLinkInfo) && !(flags & flag::kForceNoLinkInfo)) {
        std::uint32_t infoSize = 0;
        if (!r.U32(at, infoSize) || infoSize < 4 || !r.Has(at, infoSize)) return R::Failure(kShellLinkCorrupt);
        if (!ReadLinkInfo(r.Slice(at, infoSize), codePage, link.target)) return R::Failure(kShellLinkCorrupt);
        at += infoSize;
    } else if (flags & flag::kHasLinkInfo) {
        std::uint32_t infoSize = 0;
        if (!r.U32(at, infoSize) || !r.Has(at, infoSize)) return R::Failure(kShellLinkCorrupt);
        at += infoSize;
    }
    const bool unicode = (flags & flag::kIsUnicode) != 0;
    const std::pair<std::uint32_t, std::string*> strings[] = {
        {flag::kHasName, &link.name},
        {flag::kHasRelativePath, &link.relativePath},
        {flag::kHasWorkingDir, &link.workingDirectory},
        {flag::kHasArguments, &link.arguments},
        {flag::kHasIconLocation, &link.iconLocation},
    };
    for (const auto& [bit, out] : strings) {
        if (!(flags & bit)) continue;
        std::uint32_t count = 0;
        if (!r.U16(at, count)) return R::Failure(kShellLinkCorrupt);
        at += 2;
        const std::size_t bytesOf = unicode ? std::size_t{count} * 2 : count;
        if (!r.Has(at, bytesOf)) return R::Failure(kShellLinkCorrupt);
        const std::string_view raw = r.Slice(at, bytesOf);
        if (unicode) {
            std::u16string text(count, u'\0');
            for (std::size_t i = 0; i < count; ++i)
                text[i] = static_cast<char16_t>(static_cast<unsigned char>(raw[2 * i]) |
                                                static_cast<unsigned char>(raw[2 * i + 1]) << 8);
            *out = Utf16ToAnsi(text, codePage);
        } else {
            out->assign(raw);
        }
        at += bytesOf;
    }
    return link;  // extra data follows; nothing of it is needed
}

}  // namespace kavlo::platform
