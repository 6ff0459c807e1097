#pragma once
// Small path helpers shared by the file probes.

#include <string>
#include <string_view>

#include "platform/machine.h"

namespace kavlo {

/// Directory levels a walk enters below its start. Deeper directories are
/// listed but not entered, so no tree can exhaust memory or time.
inline constexpr int kMaxWalkDepth = 128;

/// dir + "\" + name, without doubling a backslash that dir already ends with.
std::string JoinPath(std::string_view directory, std::string_view name);
/// The directory part of a path (before its last backslash); the whole path when it has none.
std::string DirectoryPart(std::string_view path);
/// True for the "." and ".." entries of a listing.
bool IsDotEntry(const platform::FindEntry& entry);
/// True for a directory that a walk may enter: not "." or "..", not a reparse point.
bool IsEnterableDirectory(const platform::FindEntry& entry);

}  // namespace kavlo
