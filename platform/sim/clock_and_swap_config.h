#pragma once
// The machine.ini sections [locale] (time zone and the user's date and time
// forms) and [swap file] (what a Windows 9x system reports of its swap file),
// and the machine operations that answer from them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/locale_pictures.h"
#include "platform/machine.h"
#include "platform/sim/ini_file.h"

namespace kavlo::platform::sim {

struct LocaleConfig {
    int utcOffsetMinutes = 0;  ///< local time minus UTC
    std::string datePicture{kUsShortDatePicture};
    std::string timePicture{kUsTimePicture};
};

/// Reads [locale]: utc_offset ("+HH:MM", "-HH:MM" or "0"), date_format, time_format.
std::optional<SectionError> ReadLocaleSection(const IniSection& section, LocaleConfig& locale);
/// Reads [swap file]: path and size (bytes).
std::optional<SectionError> ReadSwapFileSection(const IniSection& section, SwapFileInfo& swapFile);

/// Seconds since 1970 (UTC) as the machine's local time; 87 for a negative count.
Result<LocalTime> SimLocalTime(const LocaleConfig& locale, std::int64_t seconds);

}  // namespace kavlo::platform::sim
