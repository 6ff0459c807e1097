#include "platform/codepage.h"

#include <array>
#include <vector>

namespace kavlo {
namespace {

struct CodePageRecord {
    std::uint16_t from;
    std::uint16_t to;
};

#include "platform/codepages/bestfit1252.inc"  // generated from platform/codepages/bestfit1252.txt

constexpr char16_t kReplacement = 0xFFFD;

// One single-byte code page: each byte's character and each UTF-16 unit's byte.
class SingleByteCodePage {
public:
    template <std::size_t ByteCount, std::size_t WideCount>
    SingleByteCodePage(const CodePageRecord (&bytes)[ByteCount], const CodePageRecord (&wide)[WideCount],
                       unsigned char defaultByte)
        : fromUnicode_(0x10000, kUnmapped), defaultByte_(defaultByte) {
        static_assert(ByteCount == 256);
        for (const CodePageRecord& record : bytes) toUnicode_[record.from & 0xFF] = record.to;
        for (const CodePageRecord& record : wide) fromUnicode_[record.from] = record.to;
    }

    char16_t ToUnicode(unsigned char byte) const { return toUnicode_[byte]; }
    char FromUnicode(char16_t unit) const {
        const std::uint16_t byte = fromUnicode_[unit];
        return static_cast<char>(byte == kUnmapped ? defaultByte_ : byte);
    }

private:
    static constexpr std::uint16_t kUnmapped = 0xFFFF;
    std::array<char16_t, 256> toUnicode_{};
    std::vector<std::uint16_t> fromUnicode_;
    unsigned char defaultByte_;
};

// The table of a code page; null for those converted as Latin-1.
const SingleByteCodePage* TableOf(std::uint32_t codePage) {
    if (codePage == 1252) {
        static const SingleByteCodePage table(kBytesToUnicode1252, kUnicodeToBytes1252, kDefaultByte1252);
        return &table;
    }
    return nullptr;
}

char16_t ByteToUnicode(unsigned char byte, const SingleByteCodePage* table) {
    return table ? table->ToUnicode(byte) : byte;
}

char UnitToByte(char16_t unit, const SingleByteCodePage* table) {
    if (table) return table->FromUnicode(unit);
    return unit <= 0xFF ? static_cast<char>(unit) : '?';
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The code point of the UTF-8 sequence at text[pos] and its length; length 0 for
// an invalid sequence (overlong forms, surrogates and code points past U+10FFFF
// included).
std::pair<char32_t, std::size_t> DecodeUtf8(std::string_view text, std::size_t pos) {
    const unsigned char lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) return {lead, 1};
    std::size_t length = 0;
    char32_t code = 0, minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
        minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        minimum = 0x10000;
    } else return {0, 0};
    if (text.size() - pos < length) return {0, 0};
    for (std::size_t k = 1; k < length; ++k) {
        const unsigned char next = static_cast<unsigned char>(text[pos + k]);
        if (!IsContinuation(next)) return {0, 0};
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return {0, 0};
    return {code, length};
}

}  // namespace

std::string AnsiToUtf8(std::string_view text, std::uint32_t codePage) {
    const SingleByteCodePage* table = TableOf(codePage);
    std::string out;
    out.reserve(text.size());
    for (unsigned char byte : text) AppendUtf8(out, ByteToUnicode(byte, table));
    return out;
}

std::u16string AnsiToUtf16(std::string_view text, std::uint32_t codePage) {
    const SingleByteCodePage* table = TableOf(codePage);
    std::u16string out;
    out.reserve(text.size());
    for (unsigned char byte : text) out.push_back(ByteToUnicode(byte, table));
    return out;
}

std::string Utf16ToAnsi(std::u16string_view text, std::uint32_t codePage) {
    const SingleByteCodePage* table = TableOf(codePage);
    std::string out;
    out.reserve(text.size());
    for (char16_t unit : text) out.push_back(UnitToByte(unit, table));
    return out;
}

std::string Utf8ToAnsi(std::string_view text, std::uint32_t codePage) {
    return Utf16ToAnsi(Utf8ToUtf16(text), codePage);
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto [code, length] = DecodeUtf8(text, pos);
        if (length == 0) {
            out.push_back(kReplacement);
            ++pos;
            continue;
        }
        if (code >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
        pos += length;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        const bool high = code >= 0xD800 && code <= 0xDBFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace kavlo
