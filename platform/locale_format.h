#pragma once
// Locale-free forms of dates and times for machines that have no locale of their own.

#include <cstdint>
#include <string>

namespace kavlo::platform {

struct LocalTime;

/// The broken-down form of seconds since 1970-01-01 00:00:00 (no time zone applied).
LocalTime CivilFromUnixSeconds(std::int64_t seconds);
/// "M/d/yyyy", as the United States locale writes a short date.
std::string UsLocaleDate(const LocalTime& time);
/// "h:mm:ss tt", as the United States locale writes a time.
std::string UsLocaleTime(const LocalTime& time);

}  // namespace kavlo::platform
