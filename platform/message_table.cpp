#include "platform/message_table.h"

#include "platform/codepage.h"

namespace kavlo::platform {
namespace {

constexpr std::uint32_t kRtMessageTable = 11;
constexpr std::uint32_t kFirstTable = 1;
constexpr std::uint16_t kUnicodeEntry = 0x1;
constexpr std::size_t kBlockRecordBytes = 12;
constexpr std::size_t kEntryHeaderBytes = 4;

bool U32(std::string_view b, std::size_t at, std::uint32_t& out) {
    if (at > b.size() || b.size() - at < 4) return false;
    out = static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
          (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8) |
          (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16) |
          (static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24);
    return true;
}
bool U16(std::string_view b, std::size_t at, std::uint16_t& out) {
    if (at > b.size() || b.size() - at < 2) return false;
    out = static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
    return true;
}

}  // namespace

std::optional<MessageTable> MessageTable::FromImage(const RandomAccessBytes& image) {
    std::optional<std::string> block = ReadResourceData(image, kRtMessageTable, kFirstTable, kMaxMessageTableBytes);
    if (!block) return std::nullopt;
    return FromBlock(std::move(*block));
}

std::optional<MessageTable> MessageTable::FromBlock(std::string block) {
    std::uint32_t count = 0;
    if (!U32(block, 0, count) || count > (block.size() - 4) / kBlockRecordBytes) return std::nullopt;
    return MessageTable(std::move(block));
}

std::optional<std::string> MessageTable::Find(std::uint32_t messageId, std::uint32_t codePage) const {
    const std::string_view b = block_;
    std::uint32_t count = 0;
    if (!U32(b, 0, count)) return std::nullopt;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t record = 4 + kBlockRecordBytes * i;
        std::uint32_t low = 0, high = 0, entries = 0;
        if (!U32(b, record, low) || !U32(b, record + 4, high) || !U32(b, record + 8, entries)) return std::nullopt;
        if (messageId < low || messageId > high) continue;
        // Entries have their own lengths, so the wanted one is reached by
        // stepping over those before it; each step moves forward by at least
        // the header, so the walk ends within the block.
        std::size_t at = entries;
        for (std::uint32_t id = low;; ++id) {
            std::uint16_t length = 0, flags = 0;
            if (!U16(b, at, length) || !U16(b, at + 2, flags)) return std::nullopt;
            if (length < kEntryHeaderBytes || length > b.size() - at) return std::nullopt;
            if (id == messageId) {
                const std::string_view text = b.substr(at + kEntryHeaderBytes, length - kEntryHeaderBytes);
                if ((flags & kUnicodeEntry) == 0) return std::string(text.substr(0, text.find('\0')));
                std::u16string wide;
                for (std::size_t k = 0; k + 1 < text.size(); k += 2) {
                    const char16_t c = static_cast<char16_t>(static_cast<unsigned char>(text[k]) |
                                                             (static_cast<unsigned char>(text[k + 1]) << 8));
                    if (c == 0) break;
                    wide.push_back(c);
                }
                return Utf16ToAnsi(wide, codePage);
            }
            at += length;
        }
    }
    return std::nullopt;
}

std::string ApplyMessageEscapes(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%' || i + 1 == text.size()) {
            out.push_back(text[i]);
            continue;
        }
        const char next = text[i + 1];
        switch (next) {
            case '0': return out;
            case 'n': out += "\r\n"; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case '%':
            case '.':
            case '!': out += next; break;
            default:
                out.push_back('%');  // an insert or an unknown escape stays as written
                continue;
        }
        ++i;
    }
    return out;
}

}  // namespace kavlo::platform
