#pragma once
// Local time of a count of seconds since 1970, the user's locale date and time
// forms, and the swap-file query of Windows 9x.

#include <cstdint>
#include <string>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

Result<LocalTime> LocalTimeOfUnixSeconds(std::int64_t seconds);
Result<std::string> UserLocaleDate(const LocalTime& time);
Result<std::string> UserLocaleTime(const LocalTime& time);
Result<SwapFileInfo> QuerySwapFile9x();

}  // namespace kavlo::platform::win32
