#include "platform/sim/contained_path.h"

#include <algorithm>
#include <system_error>

namespace kavlo::platform::sim {
namespace fs = std::filesystem;

bool IsInside(const fs::path& root, const fs::path& target) {
    const auto [rootEnd, targetIt] = std::mismatch(root.begin(), root.end(), target.begin(), target.end());
    (void)targetIt;
    return rootEnd == root.end();
}

ContainedPath ResolveInside(const fs::path& root, const fs::path& path) {
    ContainedPath out;
    std::error_code ec;
    fs::path resolved = fs::canonical(path, ec);
    if (ec) {
        // A missing file, or a link that leads nowhere, is missing; anything
        // else (a folder on the way that cannot be searched) is unreadable.
        const bool missing = ec == std::errc::no_such_file_or_directory || ec == std::errc::not_a_directory;
        out.state = missing ? ContainedPath::State::kMissing : ContainedPath::State::kUnreadable;
        out.reason = ec.message();
        return out;
    }
    if (!IsInside(root, resolved)) {
        out.state = ContainedPath::State::kOutside;
        return out;
    }
    out.state = ContainedPath::State::kInside;
    out.path = std::move(resolved);
    return out;
}

std::string ShownPath(const fs::path& root, const fs::path& path) {
    // Lexically: resolving the links here would name where they lead instead.
    const fs::path relative = path.lexically_relative(root);
    return (relative.empty() ? path : relative).generic_string();
}

}  // namespace kavlo::platform::sim
