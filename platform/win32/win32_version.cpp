#include "platform/win32/win32_version.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win32/last_error.h"

namespace kavlo::platform::win32 {
namespace {

class Win32VersionResource final : public VersionResource {
public:
    explicit Win32VersionResource(std::vector<char> block) : block_(std::move(block)) {}

    std::optional<std::vector<std::pair<std::uint16_t, std::uint16_t>>> Translations() const override {
        const auto found = Query("\\VarFileInfo\\Translation");
        if (!found) return std::nullopt;
        std::vector<std::pair<std::uint16_t, std::uint16_t>> pairs;
        for (std::size_t offset = 0; offset + 4 <= found->size(); offset += 4) {
            std::uint16_t language = 0, codePage = 0;
            std::memcpy(&language, found->data() + offset, 2);
            std::memcpy(&codePage, found->data() + offset + 2, 2);
            pairs.emplace_back(language, codePage);
        }
        return pairs;
    }

    std::optional<std::string> QueryString(std::string_view subBlock) const override {
        auto found = Query(subBlock);
        if (!found) return std::nullopt;
        // The length VerQueryValueA gives counts characters and, depending on the
        // system, the terminator; the text ends at its first zero.
        found->resize(::strnlen(found->data(), found->size()));
        return found;
    }

    std::uint32_t BlockSize() const override { return static_cast<std::uint32_t>(block_.size()); }

private:
    /// The bytes VerQueryValueA points at, kept within the block.
    std::optional<std::string> Query(std::string_view subBlock) const {
        const std::string path(subBlock);
        void* value = nullptr;
        UINT length = 0;
        // VerQueryValueA may write ANSI copies of strings into the spare part of
        // the block, so it takes the block as writable.
        if (!::VerQueryValueA(block_.data(), path.c_str(), &value, &length) || value == nullptr) return std::nullopt;
        const auto begin = reinterpret_cast<std::uintptr_t>(block_.data());
        const auto at = reinterpret_cast<std::uintptr_t>(value);
        if (at < begin || at - begin > block_.size()) return std::nullopt;
        const std::size_t available = block_.size() - (at - begin);
        return std::string(static_cast<const char*>(value), std::min<std::size_t>(length, available));
    }

    mutable std::vector<char> block_;
};

}  // namespace

Result<std::unique_ptr<VersionResource>> FileVersion(std::string_view path) {
    const std::string fileName(path);
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(fileName.c_str(), &ignored);
    if (size == 0) return Result<std::unique_ptr<VersionResource>>::Failure(LastErrorOr(ERROR_RESOURCE_TYPE_NOT_FOUND));
    std::vector<char> block(size, '\0');
    if (!::GetFileVersionInfoA(fileName.c_str(), 0, size, block.data())) {
        return Result<std::unique_ptr<VersionResource>>::Failure(LastErrorOr());
    }
    return std::unique_ptr<VersionResource>(std::make_unique<Win32VersionResource>(std::move(block)));
}

}  // namespace kavlo::platform::win32
