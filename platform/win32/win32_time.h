#pragma once
// Conversions from the system's time records to the platform's LocalTime.

#include <windows.h>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

/// A SYSTEMTIME as it is (already local or not).
inline LocalTime FromSystemTime(const SYSTEMTIME& time) {
    LocalTime local;
    local.year = time.wYear;
    local.month = time.wMonth;
    local.day = time.wDay;
    local.hour = time.wHour;
    local.minute = time.wMinute;
    local.second = time.wSecond;
    local.dayOfWeek = time.wDayOfWeek;
    return local;
}

/// A file time (UTC) as local wall-clock time, the way Explorer shows it:
/// FileTimeToLocalFileTime then FileTimeToSystemTime. A time that cannot be
/// converted gives the default 1601-01-01.
inline LocalTime ToLocalTime(const FILETIME& utc) {
    FILETIME local{};
    SYSTEMTIME fields{};
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &fields)) return LocalTime{};
    return FromSystemTime(fields);
}

}  // namespace kavlo::platform::win32
