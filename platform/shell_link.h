#pragma once
// The shell-link (.lnk) file format: a 76-byte header with the link class
// identifier and flags, an optional item-ID list, an optional link-info block
// holding the target's local base path (or network share) and common path
// suffix in ANSI and, in newer links, Unicode forms, then the counted string
// data (name, relative path, working directory, arguments, icon location) and
// extra-data blocks, which are skipped. Every offset and count is checked
// against the bytes; nothing is allocated from an unchecked count.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/result.h"

namespace kavlo::platform {

/// What a link names, strings in the ANSI code page.
struct ShellLink {
    std::string target;  ///< the link-info path: base path (or share) joined with the suffix; empty without link info
    std::string name;
    std::string relativePath;
    std::string workingDirectory;
    std::string arguments;
    std::string iconLocation;
};

/// The error for bytes that are not a well-formed link (ERROR_FILE_CORRUPT).
inline constexpr WinError kShellLinkCorrupt = 1392;

/// Reads a link; Unicode strings are converted to the code page. Fails with
/// kShellLinkCorrupt for a wrong header or class identifier and for any block
/// that runs past the bytes.
Result<ShellLink> ParseShellLink(std::string_view bytes, std::uint32_t codePage);

}  // namespace kavlo::platform
