#pragma once
// Conversions between the system's time records and the platform's LocalTime.

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

/// The fields of a LocalTime as a SYSTEMTIME (for the locale formatting calls).
inline SYSTEMTIME ToSystemTime(const LocalTime& time) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(time.year);
    st.wMonth = static_cast<WORD>(time.month);
    st.wDay = static_cast<WORD>(time.day);
    st.wHour = static_cast<WORD>(time.hour);
    st.wMinute = static_cast<WORD>(time.minute);
    st.wSecond = static_cast<WORD>(time.second);
    st.wDayOfWeek = static_cast<WORD>(time.dayOfWeek);
    return st;
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
