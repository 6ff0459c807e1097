#pragma once
// 8.3 short names as NTFS and FAT give them to long file names.

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace kavlo::platform::sim {

/// True for a valid 8.3 name: 1-8 name characters, optionally "." and 1-3
/// extension characters, none of them a space, a second dot or a character that
/// short names exclude. Such names get no separate short name.
bool IsShortName(std::string_view name);

/// Short names of one directory: "NAME~N.EXT" for each long name, with the lowest
/// N whose result is free. It remembers the next number to try for each
/// NAME.EXT, so that a directory of names sharing their first characters costs
/// time in proportion to its size.
class ShortNameAllocator {
public:
    /// Marks a folded name (a given short name, or a long name that is one) as taken.
    void Reserve(const std::string& folded) { taken_.insert(folded); }
    /// The next short name for a long name; empty when the name is already a short name.
    std::string Generate(std::string_view longName);

private:
    std::unordered_set<std::string> taken_;
    std::unordered_map<std::string, unsigned> nextNumber_;  // "NAME.EXT" -> first N not yet tried
};

}  // namespace kavlo::platform::sim
