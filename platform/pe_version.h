#pragma once
// Finds resources (the version resource, message tables) in a PE image (PE32 or PE32+) without
// loading it. Every offset and size is checked against the image, so truncated
// or hostile files give no resource rather than a crash.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavlo::platform {

/// Random access to the bytes of an image.
class RandomAccessBytes {
public:
    virtual ~RandomAccessBytes() = default;
    virtual std::uint64_t Size() const = 0;
    /// Copies size bytes from offset; false unless all of them are in the image.
    virtual bool ReadAt(std::uint64_t offset, void* out, std::size_t size) const = 0;
};

/// An image held in memory (the bytes must outlive the source).
class MemoryBytes final : public RandomAccessBytes {
public:
    explicit MemoryBytes(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(std::uint64_t offset, void* out, std::size_t size) const override;

private:
    std::string_view bytes_;
};

/// Largest version resource accepted (the block's own length field is 16 bits).
inline constexpr std::uint32_t kMaxVersionResourceBytes = 0x10000;

/// The bytes of the image's resource of the given type (an id such as 11 for
/// RT_MESSAGETABLE) and name (the first name when that id is absent), first
/// language; nullopt when absent, larger than maxBytes or malformed.
std::optional<std::string> ReadResourceData(const RandomAccessBytes& image, std::uint32_t type, std::uint32_t name,
                                            std::uint32_t maxBytes);

/// The bytes of the image's first RT_VERSION resource (name 1 when present, first
/// language); nullopt when the image is not a PE file, has none or is malformed.
std::optional<std::string> ReadVersionResource(const RandomAccessBytes& image);

}  // namespace kavlo::platform
