#pragma once
// Calendar arithmetic for the machine's fixed clock and its file times.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/locale_format.h"
#include "platform/machine.h"

namespace kavlo::platform::sim {

/// "YYYY-MM-DD HH:MM:SS" (years 1601-30827, as SYSTEMTIME allows); nullopt when malformed.
std::optional<LocalTime> ParseLocalTime(std::string_view text);

}  // namespace kavlo::platform::sim
