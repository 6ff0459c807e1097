#pragma once
// The shell folder names that "<CSIDL_...>" tokens may use, with their numbers.

#include <optional>
#include <string_view>

namespace kavlo {

/// The CSIDL number of a whole folder name such as "CSIDL_APPDATA"; none when unknown.
std::optional<int> CsidlNumber(std::string_view name);

}  // namespace kavlo
