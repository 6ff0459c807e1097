#pragma once
// 8.3 short names as NTFS and FAT give them to long file names.

#include <string>
#include <string_view>
#include <vector>

namespace kavlo::platform::sim {

/// True for a valid 8.3 name: 1-8 name characters, optionally "." and 1-3
/// extension characters, none of them a space, a second dot or a character that
/// short names exclude. Such names get no separate short name.
bool IsShortName(std::string_view name);

/// The short name "NAME~N.EXT" for a long name, with the lowest N whose result is
/// not in taken (folded names). Empty when the name is already a short name.
std::string GenerateShortName(std::string_view longName, const std::vector<std::string>& takenFolded);

}  // namespace kavlo::platform::sim
