#pragma once
// Reads the text files of a machine folder (machine.ini, *.reg) into the
// machine's ANSI code page, whatever encoding their editor saved them in.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo::platform::sim {

enum class TextEncoding { kAnsi, kUtf8, kUtf16Le };

struct DecodedText {
    std::string text;  ///< in the ANSI code page (or UTF-8); empty with error set on failure
    TextEncoding encoding = TextEncoding::kAnsi;
    std::string error;  ///< why the bytes are not text; empty on success
};

/// A UTF-16LE or UTF-8 byte-order mark decides the encoding; without one, text that
/// is valid UTF-8 and uses it is taken as UTF-8 when detectUtf8 is set, else as ANSI.
DecodedText DecodeText(std::string_view bytes, std::uint32_t codePage, bool detectUtf8);

/// The same decoding, into UTF-8 instead of the code page, so that nothing is
/// lost (ANSI text is converted from the code page).
DecodedText DecodeTextToUtf8(std::string_view bytes, std::uint32_t codePage, bool detectUtf8);

/// Splits at "\n", dropping a "\r" before it.
std::vector<std::string_view> SplitLines(std::string_view text);

/// Leading and trailing blanks and tabs removed.
std::string_view Trim(std::string_view text);

}  // namespace kavlo::platform::sim
