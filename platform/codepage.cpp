#include "platform/codepage.h"

#include <array>

namespace kavlo {
namespace {

// Windows-1252 bytes 0x80..0x9F; 0 marks the five unassigned bytes, which map to
// the C1 control of the same number as Windows' converter does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t ByteToUnicode(unsigned char byte, std::uint32_t codePage) {
    if (codePage == 1252 && byte >= 0x80 && byte <= 0x9F) {
        const char16_t mapped = kCp1252High[byte - 0x80];
        return mapped ? mapped : byte;
    }
    return byte;
}

char UnicodeToByte(char32_t code, std::uint32_t codePage) {
    if (code < 0x80) return static_cast<char>(code);
    if (codePage == 1252) {
        for (std::size_t i = 0; i < kCp1252High.size(); ++i)
            if (kCp1252High[i] == code) return static_cast<char>(0x80 + i);
        if (code >= 0x80 && code <= 0x9F) {
            // Only the unassigned positions pass through.
            return kCp1252High[code - 0x80] == 0 ? static_cast<char>(code) : '?';
        }
    }
    if (code <= 0xFF) return static_cast<char>(code);
    return '?';
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

}  // namespace

std::string AnsiToUtf8(std::string_view text, std::uint32_t codePage) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char byte : text) AppendUtf8(out, ByteToUnicode(byte, codePage));
    return out;
}

std::u16string AnsiToUtf16(std::string_view text, std::uint32_t codePage) {
    std::u16string out;
    out.reserve(text.size());
    for (unsigned char byte : text) out.push_back(ByteToUnicode(byte, codePage));
    return out;
}

std::string Utf8ToAnsi(std::string_view text, std::uint32_t codePage) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t code = lead;
        if (lead >= 0xF0 && lead < 0xF8) { extra = 3; code = lead & 0x07; }
        else if (lead >= 0xE0) { extra = 2; code = lead & 0x0F; }
        else if (lead >= 0xC0) { extra = 1; code = lead & 0x1F; }
        else if (lead >= 0x80) { out.push_back('?'); ++i; continue; }
        bool valid = true;
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) { valid = false; break; }
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (!valid) { out.push_back('?'); ++i; continue; }
        out.push_back(UnicodeToByte(code, codePage));
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

std::string Utf16ToAnsi(std::u16string_view text, std::uint32_t codePage) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        }
        out.push_back(UnicodeToByte(code, codePage));
    }
    return out;
}

}  // namespace kavlo
