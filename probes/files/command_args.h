#pragma once
// How the file commands split their arguments (the argument itself is
// CommandArgument of the engine).

#include <optional>
#include <string_view>
#include <utility>

namespace kavlo {

/// The text before and after the first comma; nullopt when there is no comma.
std::optional<std::pair<std::string_view, std::string_view>> SplitAtComma(std::string_view text);

}  // namespace kavlo
