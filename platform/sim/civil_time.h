#pragma once
// Calendar arithmetic for the machine's fixed clock and its file times.

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::platform::sim {

/// "YYYY-MM-DD HH:MM:SS" (years 1601-30827, as SYSTEMTIME allows); nullopt when malformed.
std::optional<LocalTime> ParseLocalTime(std::string_view text);
/// The broken-down form of seconds since 1970-01-01 00:00:00 (no time zone applied).
LocalTime FromUnixSeconds(std::int64_t seconds);

}  // namespace kavlo::platform::sim
