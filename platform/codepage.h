#pragma once
// Conversions between a single-byte ANSI code page and Unicode. Windows-1252 is
// built in; other code pages fall back to Latin-1 for bytes above 0x7F.

#include <cstdint>
#include <string>
#include <string_view>

namespace kavlo {

/// Bytes in the code page to UTF-8.
std::string AnsiToUtf8(std::string_view text, std::uint32_t codePage = 1252);
/// UTF-8 to the code page; characters it cannot hold become "?".
std::string Utf8ToAnsi(std::string_view text, std::uint32_t codePage = 1252);
/// UTF-16 code units to the code page; characters it cannot hold become "?".
std::string Utf16ToAnsi(std::u16string_view text, std::uint32_t codePage = 1252);
/// Code page bytes to UTF-16.
std::u16string AnsiToUtf16(std::string_view text, std::uint32_t codePage = 1252);

}  // namespace kavlo
