#pragma once
// Indentation of result trees printed as text ("kavlo run", "kavlo show",
// "kavlo export"). Trees may be thousands of levels deep, so indentation stops
// growing at a fixed level and deeper lines name their level instead: a line's
// length never depends on the depth of the tree.

#include <cstddef>
#include <string>

namespace kavlo::cli {

/// Levels that are shown by indentation (two blanks each).
inline constexpr std::size_t kMaxIndentLevels = 32;

/// Appends the indentation for a node at `level` (0 for no indentation): two
/// blanks per level, and from level kMaxIndentLevels on those blanks followed by
/// the level in brackets, "[40] ".
void AppendTreeIndent(std::string& out, std::size_t level);

}  // namespace kavlo::cli
