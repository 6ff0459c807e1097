#include "platform/locale_format.h"

#include <cstdio>

#include "platform/machine.h"

namespace kavlo::platform {

LocalTime CivilFromUnixSeconds(std::int64_t seconds) {
    std::int64_t days = seconds / 86400;
    std::int64_t rest = seconds % 86400;
    if (rest < 0) {
        rest += 86400;
        --days;
    }
    LocalTime t;
    t.dayOfWeek = static_cast<int>(((days % 7) + 11) % 7);  // 1970-01-01 was a Thursday
    // Civil date from a day count (the proleptic Gregorian calendar in 400-year eras).
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    t.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (t.month <= 2));
    t.hour = static_cast<int>(rest / 3600);
    t.minute = static_cast<int>(rest % 3600 / 60);
    t.second = static_cast<int>(rest % 60);
    return t;
}

std::string UsLocaleDate(const LocalTime& time) {
    return std::to_string(time.month) + "/" + std::to_string(time.day) + "/" + std::to_string(time.year);
}

std::string UsLocaleTime(const LocalTime& time) {
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%d:%02d:%02d %s", hour12, time.minute, time.second,
                  time.hour < 12 ? "AM" : "PM");
    return buffer;
}

}  // namespace kavlo::platform
