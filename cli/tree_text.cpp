#include "cli/tree_text.h"

namespace kavlo::cli {

void AppendTreeIndent(std::string& out, std::size_t level) {
    if (level < kMaxIndentLevels) {
        out.append(level * 2, ' ');
        return;
    }
    out.append(kMaxIndentLevels * 2, ' ');
    out += '[';
    out += std::to_string(level);
    out += "] ";
}

}  // namespace kavlo::cli
