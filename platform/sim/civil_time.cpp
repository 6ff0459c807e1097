#include "platform/sim/civil_time.h"

namespace kavlo::platform::sim {
namespace {

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

int WeekdayFromDays(std::int64_t days) { return static_cast<int>(days >= -4 ? (days + 4) % 7 : (days + 5) % 7 + 6); }

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

bool ReadNumber(std::string_view text, std::size_t pos, std::size_t digits, int& out) {
    if (pos + digits > text.size()) return false;
    out = 0;
    for (std::size_t i = pos; i < pos + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        out = out * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

std::optional<LocalTime> ParseLocalTime(std::string_view text) {
    // YYYY-MM-DD HH:MM:SS
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' || text[16] != ':')
        return std::nullopt;
    LocalTime t;
    if (!ReadNumber(text, 0, 4, t.year) || !ReadNumber(text, 5, 2, t.month) || !ReadNumber(text, 8, 2, t.day) ||
        !ReadNumber(text, 11, 2, t.hour) || !ReadNumber(text, 14, 2, t.minute) || !ReadNumber(text, 17, 2, t.second))
        return std::nullopt;
    if (t.year < 1601 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > DaysInMonth(t.year, t.month) ||
        t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    t.dayOfWeek = WeekdayFromDays(DaysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)));
    return t;
}

}  // namespace kavlo::platform::sim
