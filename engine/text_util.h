#pragma once
// String operations with the exact semantics that script lines rely on:
// "contains" tests, C-style decimal reading, and the class library's habit of
// treating a missing separator as position -1 (so "the text after it" is all of it).

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace kavlo {

/// True when `needle` occurs anywhere in `text` (an empty needle always occurs).
inline bool Contains(std::string_view text, std::string_view needle) {
    return text.find(needle) != std::string_view::npos;
}
inline bool Contains(std::string_view text, char c) { return text.find(c) != std::string_view::npos; }
inline bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

/// True for the characters the C locale's isspace accepts.
inline bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

/// The text without leading white space.
std::string_view TrimLeading(std::string_view text);
/// The text without trailing white space.
std::string_view TrimTrailing(std::string_view text);

/// Reads a decimal integer as atoi does: leading white space, an optional sign,
/// digits up to the first other character; no digits gives 0. Saturates on overflow.
std::int32_t ParseDecimal(std::string_view text);

/// The text after the first `separator`; the whole text when there is none.
std::string_view AfterFirst(std::string_view text, char separator);
/// Splits at the first `separator`: (before, after); ("", text) when there is none.
std::pair<std::string_view, std::string_view> SplitFirst(std::string_view text, char separator);

/// Every occurrence of `from` replaced by `to`; an empty `from` changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);
/// The text with every `c` removed.
std::string RemoveAll(std::string_view text, char c);

/// The printf-style pass that "TextLine:" and "RVAL:" apply to their output with
/// no arguments: "%%" becomes "%", every other character (other "%" sequences
/// included) is copied unchanged. Script and registry text never reaches printf.
std::string FormatPercent(std::string_view text);

}  // namespace kavlo
