#include "probes/files/file_paths.h"

namespace kavlo {

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string out(directory);
    if (out.empty() || out.back() != '\\') out.push_back('\\');
    out.append(name);
    return out;
}

std::string DirectoryPart(std::string_view path) {
    const auto slash = path.rfind('\\');
    return std::string(slash == std::string_view::npos ? path : path.substr(0, slash));
}

bool IsDotEntry(const platform::FindEntry& entry) { return entry.name == "." || entry.name == ".."; }

bool IsEnterableDirectory(const platform::FindEntry& entry) {
    // Junctions and symbolic links can point at their own ancestors (profile
    // folders do since Vista), so a walk lists them but never goes through them.
    return entry.IsDirectory() && !entry.IsReparsePoint() && !IsDotEntry(entry);
}

}  // namespace kavlo
