#pragma once
// VS_VERSIONINFO blocks (the data of a version resource) with the lookups that
// VerQueryValue offers.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform {

/// The numbers of VS_FIXEDFILEINFO.
struct FixedFileInfo {
    std::uint32_t fileVersionMs = 0, fileVersionLs = 0;
    std::uint32_t productVersionMs = 0, productVersionLs = 0;
    std::uint32_t fileFlagsMask = 0, fileFlags = 0, fileOs = 0, fileType = 0, fileSubtype = 0;
    std::uint32_t fileDateMs = 0, fileDateLs = 0;
};

/// A parsed version block. String values are returned in the given ANSI code page.
class VersionInfo final : public VersionResource {
public:
    /// Parses a block; null when its root is malformed (children that do not fit
    /// their parent are ignored, as VerQueryValue ignores them).
    static std::unique_ptr<VersionInfo> Parse(std::string block, std::uint32_t codePage);

    std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> Translations() const override;
    std::optional<std::string> QueryString(std::string_view subBlock) const override;
    /// What GetFileVersionInfoSize reports for the resource: Windows 2000 and later
    /// reserve twice its size plus 4 bytes, room for the ANSI copies of its texts.
    std::uint32_t BlockSize() const override { return static_cast<std::uint32_t>(2 * block_.size() + 4); }
    /// Size of the resource itself.
    std::size_t ResourceSize() const { return block_.size(); }
    /// VS_FIXEDFILEINFO when the root value holds one with its signature.
    std::optional<FixedFileInfo> Fixed() const;

private:
    struct Node {
        std::size_t begin = 0, end = 0;  // the node's bytes within block_
        std::size_t valueBegin = 0, valueEnd = 0;
        std::size_t childrenBegin = 0;
        std::uint16_t type = 0;  // 1 = text, 0 = binary
        std::u16string key;
    };
    VersionInfo(std::string block, std::uint32_t codePage) : block_(std::move(block)), codePage_(codePage) {}
    std::optional<Node> ReadNode(std::size_t begin, std::size_t limit) const;
    std::optional<Node> Find(std::string_view subBlock) const;

    std::string block_;
    std::uint32_t codePage_;
    Node root_;
};

}  // namespace kavlo::platform
