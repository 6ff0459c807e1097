#include "platform/version_info.h"

#include "platform/codepage.h"

namespace kavlo::platform {
namespace {

constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::size_t kFixedSize = 52;

std::size_t Align4(std::size_t offset) { return (offset + 3) & ~static_cast<std::size_t>(3); }

char16_t FoldUnit(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c; }

bool SameKey(std::u16string_view key, std::string_view name) {
    if (key.size() != name.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i)
        if (FoldUnit(key[i]) != FoldUnit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

std::vector<std::string_view> SplitSubBlock(std::string_view path) {
    std::vector<std::string_view> parts;
    while (!path.empty()) {
        const std::size_t slash = path.find('\\');
        if (slash != 0) parts.push_back(path.substr(0, slash));
        if (slash == std::string_view::npos) break;
        path.remove_prefix(slash + 1);
    }
    return parts;
}

}  // namespace

std::optional<VersionInfo::Node> VersionInfo::ReadNode(std::size_t begin, std::size_t limit) const {
    auto u16 = [&](std::size_t at) {
        return static_cast<std::uint16_t>(static_cast<unsigned char>(block_[at]) |
                                          (static_cast<unsigned char>(block_[at + 1]) << 8));
    };
    if (limit > block_.size() || begin > limit || limit - begin < 6) return std::nullopt;
    Node node;
    const std::size_t length = u16(begin);
    const std::size_t valueLength = u16(begin + 2);
    node.type = u16(begin + 4);
    if (length < 6) return std::nullopt;
    node.begin = begin;
    node.end = begin + length > limit ? limit : begin + length;
    std::size_t pos = begin + 6;
    while (true) {
        if (pos + 2 > node.end) return std::nullopt;  // the key must end inside the node
        const char16_t unit = u16(pos);
        pos += 2;
        if (unit == 0) break;
        node.key.push_back(unit);
    }
    node.valueBegin = Align4(pos) > node.end ? node.end : Align4(pos);
    const std::size_t valueBytes = node.type == 1 ? valueLength * 2 : valueLength;
    node.valueEnd = valueBytes > node.end - node.valueBegin ? node.end : node.valueBegin + valueBytes;
    node.childrenBegin = Align4(node.valueEnd) > node.end ? node.end : Align4(node.valueEnd);
    return node;
}

std::unique_ptr<VersionInfo> VersionInfo::Parse(std::string block, std::uint32_t codePage) {
    std::unique_ptr<VersionInfo> info(new VersionInfo(std::move(block), codePage));
    auto root = info->ReadNode(0, info->block_.size());
    if (!root || !SameKey(root->key, "VS_VERSION_INFO")) return nullptr;
    info->root_ = std::move(*root);
    return info;
}

std::optional<VersionInfo::Node> VersionInfo::Find(std::string_view subBlock) const {
    Node node = root_;
    for (std::string_view part : SplitSubBlock(subBlock)) {
        bool found = false;
        std::size_t pos = node.childrenBegin;
        // Every child takes at least 6 bytes, so the walk ends; a child that does
        // not fit ends the list.
        while (pos < node.end) {
            auto child = ReadNode(pos, node.end);
            if (!child) break;
            if (SameKey(child->key, part)) {
                node = std::move(*child);
                found = true;
                break;
            }
            pos = Align4(child->end);
        }
        if (!found) return std::nullopt;
    }
    return node;
}

std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> VersionInfo::Translations() const {
    const auto node = Find("\\VarFileInfo\\Translation");
    if (!node) return std::nullopt;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> out;
    for (std::size_t at = node->valueBegin; at + 4 <= node->valueEnd; at += 4) {
        auto u16 = [&](std::size_t p) {
            return static_cast<std::uint16_t>(static_cast<unsigned char>(block_[p]) |
                                              (static_cast<unsigned char>(block_[p + 1]) << 8));
        };
        out.emplace_back(u16(at), u16(at + 2));
    }
    return out;
}

std::optional<std::string> VersionInfo::QueryString(std::string_view subBlock) const {
    const std::vector<std::string_view> parts = SplitSubBlock(subBlock);
    if (parts.empty()) return std::nullopt;  // the root value is VS_FIXEDFILEINFO
    const auto node = Find(subBlock);
    if (!node) return std::nullopt;
    // Some resource compilers mark strings as binary; below StringFileInfo every
    // value is text whatever its type says.
    const bool text = node->type == 1 || SameKey(u"StringFileInfo", parts.front());
    if (!text) return std::nullopt;
    std::u16string value;
    if (node->valueEnd > node->valueBegin) {
        // Writers disagree on whether the length counts characters or bytes, so
        // the text runs to its terminating zero or to the end of the node.
        for (std::size_t at = node->valueBegin; at + 2 <= node->end; at += 2) {
            const char16_t unit = static_cast<char16_t>(static_cast<unsigned char>(block_[at]) |
                                                        (static_cast<unsigned char>(block_[at + 1]) << 8));
            if (unit == 0) break;
            value.push_back(unit);
        }
    }
    return Utf16ToAnsi(value, codePage_);
}

std::optional<FixedFileInfo> VersionInfo::Fixed() const {
    if (root_.valueEnd - root_.valueBegin < kFixedSize) return std::nullopt;
    auto u32 = [&](std::size_t index) {
        const std::size_t at = root_.valueBegin + 4 * index;
        return static_cast<std::uint32_t>(static_cast<unsigned char>(block_[at])) |
               (static_cast<std::uint32_t>(static_cast<unsigned char>(block_[at + 1])) << 8) |
               (static_cast<std::uint32_t>(static_cast<unsigned char>(block_[at + 2])) << 16) |
               (static_cast<std::uint32_t>(static_cast<unsigned char>(block_[at + 3])) << 24);
    };
    if (u32(0) != kFixedSignature) return std::nullopt;
    FixedFileInfo f;
    f.fileVersionMs = u32(2);
    f.fileVersionLs = u32(3);
    f.productVersionMs = u32(4);
    f.productVersionLs = u32(5);
    f.fileFlagsMask = u32(6);
    f.fileFlags = u32(7);
    f.fileOs = u32(8);
    f.fileType = u32(9);
    f.fileSubtype = u32(10);
    f.fileDateMs = u32(11);
    f.fileDateLs = u32(12);
    return f;
}

}  // namespace kavlo::platform
