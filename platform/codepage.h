#pragma once
// Conversions between a single-byte ANSI code page and Unicode, as Windows'
// MultiByteToWideChar and WideCharToMultiByte make them with default flags:
// Windows-1252 through its published best-fit table (generated at build time
// from platform/codepages/bestfit1252.txt), other code pages as Latin-1.

#include <cstdint>
#include <string>
#include <string_view>

namespace kavlo {

/// Bytes in the code page to UTF-8.
std::string AnsiToUtf8(std::string_view text, std::uint32_t codePage = 1252);
/// Code page bytes to UTF-16.
std::u16string AnsiToUtf16(std::string_view text, std::uint32_t codePage = 1252);
/// UTF-16 to the code page, unit by unit: a character the code page lacks becomes
/// its best fit ("ā" gives "a") or "?", and a surrogate pair two "?".
std::string Utf16ToAnsi(std::u16string_view text, std::uint32_t codePage = 1252);
/// UTF-8 to the code page as Utf16ToAnsi converts it; invalid bytes become "?".
std::string Utf8ToAnsi(std::string_view text, std::uint32_t codePage = 1252);
/// UTF-8 to UTF-16 without loss; each invalid byte becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view text);
/// UTF-16 to UTF-8 without loss; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace kavlo
