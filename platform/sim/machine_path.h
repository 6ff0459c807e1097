#pragma once
// Paths of the simulated machine ("C:\WINNT\system32\x.dll"): drive letter,
// components with "." and ".." resolved, as GetFullPathName gives them.

#include <string>
#include <string_view>
#include <vector>

#include "platform/result.h"

namespace kavlo::platform::sim {

/// Windows' own limit on the length of a path (of the \\?\ form), in characters.
inline constexpr std::size_t kMaxMachinePathChars = 32767;
inline constexpr WinError kFileNameTooLong = 206;

struct MachinePath {
    char drive = 'C';                     ///< upper case
    std::vector<std::string> components;  ///< below the root; empty for the root itself
    bool trailingSeparator = false;       ///< the text ended with "\"
    std::string directoryText;            ///< the text up to and including the last separator
};

/// Parses a path. Relative paths and "\x" are taken from currentDir ("C:\..."). "/"
/// counts as "\". Fails with 123 for characters Windows forbids in names (and for
/// "*" "?" except in the last component when allowWildcards), with 53 for
/// network (UNC) paths, with 3 for an empty path and with 206 for a path longer
/// than kMaxMachinePathChars.
Result<MachinePath> ParseMachinePath(std::string_view path, std::string_view currentDir, bool allowWildcards);

/// "C:\a\b" of a parsed path.
std::string JoinMachinePath(char drive, const std::vector<std::string>& components);

}  // namespace kavlo::platform::sim
