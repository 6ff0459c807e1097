#include "platform/device_index.h"

#include <cstdint>

namespace kavlo::platform {
namespace {

// The text from `pos` to its zero byte inside `record`; nullopt without one.
std::optional<std::string_view> TextAt(std::string_view record, std::size_t& pos) {
    if (pos >= record.size()) return std::nullopt;
    const std::size_t end = record.find('\0', pos);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view text = record.substr(pos, end - pos);
    pos = end + 1;
    return text;
}

}  // namespace

std::optional<DeviceIndexRecord> FindDeviceIndexRecord(std::string_view index, std::string_view lookup) {
    std::size_t pos = kDeviceIndexHeaderBytes;
    while (pos + 2 <= index.size()) {
        const std::size_t length = static_cast<std::uint8_t>(index[pos]) |
                                   static_cast<std::size_t>(static_cast<std::uint8_t>(index[pos + 1])) << 8;
        if (length == 0) return std::nullopt;
        if (length <= kDeviceIndexKeyOffset || length > index.size() - pos) return std::nullopt;
        const std::string_view record = index.substr(pos, length);
        std::size_t at = kDeviceIndexKeyOffset;
        const auto key = TextAt(record, at);
        if (!key) return std::nullopt;
        if (key->find(lookup) != std::string_view::npos) {
            DeviceIndexRecord found{std::string(*key), {}};
            for (std::string& text : found.texts) {
                const auto read = TextAt(record, at);
                if (!read) return std::nullopt;
                text = std::string(*read);
            }
            return found;
        }
        pos += length;
    }
    return std::nullopt;
}

std::optional<std::string> EncodeDeviceIndexRecord(const DeviceIndexRecord& record) {
    std::string bytes(kDeviceIndexKeyOffset, '\0');
    for (std::string_view text :
         {std::string_view(record.key), std::string_view(record.texts[0]), std::string_view(record.texts[1]),
          std::string_view(record.texts[2]), std::string_view(record.texts[3])}) {
        if (text.find('\0') != std::string_view::npos) return std::nullopt;
        bytes.append(text);
        bytes.push_back('\0');
    }
    if (bytes.size() > 0xFFFF) return std::nullopt;
    bytes[0] = static_cast<char>(bytes.size() & 0xFF);
    bytes[1] = static_cast<char>(bytes.size() >> 8);
    return bytes;
}

Result<std::string> ReadDeviceIndexFile(Machine& machine, std::string_view folder) {
    constexpr std::uint64_t kMaxIndexBytes = 16u << 20;
    std::string path(folder);
    if (!path.empty() && path.back() != '\\') path += '\\';
    auto file = machine.OpenForRead(path + "drvidx.bin");
    if (!file) return Result<std::string>::Failure(file.error());
    if ((*file)->Size() > kMaxIndexBytes) return Result<std::string>::Failure(err::kNotSupported);
    std::string bytes(static_cast<std::size_t>((*file)->Size()), '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        const auto read = (*file)->Read(bytes.data() + filled, bytes.size() - filled);
        if (!read) return Result<std::string>::Failure(read.error());
        if (*read == 0) break;
        filled += *read;
    }
    bytes.resize(filled);
    return bytes;
}

}  // namespace kavlo::platform
