#include "probes/files/command_args.h"

namespace kavlo {

std::optional<std::pair<std::string_view, std::string_view>> SplitAtComma(std::string_view text) {
    const auto comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    return std::pair{text.substr(0, comma), text.substr(comma + 1)};
}

}  // namespace kavlo
