#pragma once
// Column specifications: "Name,width,Name,width..." with widths in characters.

#include <string>
#include <string_view>
#include <vector>

namespace kavlo::ui {

struct ColumnSpec {
    std::string name;
    int widthChars = 0;  ///< how many letters "a" the column is wide
};

/// Widest column accepted, in characters; larger widths are clamped so that a
/// malformed specification cannot ask for a huge measuring string.
inline constexpr int kMaxColumnChars = 400;

/// The columns of a specification. A trailing name without a width gets width
/// 0; a width that is not a number reads as 0 (as atoi reads it).
std::vector<ColumnSpec> ParseColumnSpec(std::string_view spec);

}  // namespace kavlo::ui
