#pragma once
// Host paths of a machine folder with every symbolic link resolved, so that
// nothing the machine reads lies outside its folder.

#include <filesystem>
#include <string>

namespace kavlo::platform::sim {

/// True when target (canonical) is root (canonical) or lies below it.
bool IsInside(const std::filesystem::path& root, const std::filesystem::path& target);

struct ContainedPath {
    enum class State { kInside, kMissing, kOutside, kUnreadable };
    State state = State::kMissing;
    std::filesystem::path path;  ///< canonical, when inside
    std::string reason;          ///< the system's words when unreadable
};

/// Resolves every component of path (links included) and checks that the result
/// lies inside root, the canonical machine folder.
ContainedPath ResolveInside(const std::filesystem::path& root, const std::filesystem::path& path);

/// "drives/c" for a path inside the machine folder, for messages.
std::string ShownPath(const std::filesystem::path& root, const std::filesystem::path& path);

}  // namespace kavlo::platform::sim
