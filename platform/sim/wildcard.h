#pragma once
// File-name patterns as FindFirstFile applies them: "*" and "?" with the DOS
// rules ("*.*" also matches names without a dot, "*." matches names without an
// extension, "?" before a dot or at the end may match nothing), without regard
// to case.

#include <string_view>

namespace kavlo::platform::sim {

/// True when the text holds "*" or "?".
bool HasWildcards(std::string_view text);
/// True when a file name matches a pattern of one path component.
bool MatchesPattern(std::string_view pattern, std::string_view name);

}  // namespace kavlo::platform::sim
