#pragma once
// Case-insensitive comparison of names in the machine's ANSI code page, as the
// registry and the file systems of Windows compare them.

#include <string>
#include <string_view>

namespace kavlo::platform::sim {

/// Upper-case form of a name: ASCII and the Latin letters of Windows-1252.
std::string FoldName(std::string_view name);
/// True when two names differ only in letter case.
bool SameName(std::string_view a, std::string_view b);
/// Orders names without regard to case; names equal that way are ordered by bytes.
bool NameLess(std::string_view a, std::string_view b);

/// Upper-case form of a UTF-16 name as the registry compares names: unit by unit,
/// the letters of Latin (Basic to Extended-A), Greek, Cyrillic and the fullwidth
/// forms folded to their capitals. Ordering by it is the order in which Windows
/// enumerates subkeys.
std::u16string FoldName16(std::u16string_view name);

}  // namespace kavlo::platform::sim
