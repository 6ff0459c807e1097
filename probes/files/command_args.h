#pragma once
// How the file commands take their arguments apart.

#include <optional>
#include <string_view>
#include <utility>

namespace kavlo {

/// The text after the first occurrence of the command name in the line, untrimmed.
std::string_view TextAfterName(std::string_view name, std::string_view line);

/// The text before and after the first comma; nullopt when there is no comma.
std::optional<std::pair<std::string_view, std::string_view>> SplitAtComma(std::string_view text);

}  // namespace kavlo
