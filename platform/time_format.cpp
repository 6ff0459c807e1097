#include "platform/time_format.h"

#include <array>
#include <cstdio>

namespace kavlo {
namespace {

constexpr std::array<const char*, 7> kDayShort = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<const char*, 7> kDayLong = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                 "Thursday", "Friday", "Saturday"};
constexpr std::array<const char*, 12> kMonthShort = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<const char*, 12> kMonthLong = {"January",   "February", "March",    "April",
                                                    "May",       "June",     "July",     "August",
                                                    "September", "October",  "November", "December"};

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DayOfYear(const platform::LocalTime& t) {
    static constexpr std::array<int, 12> kBefore = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
    const int month = (t.month >= 1 && t.month <= 12) ? t.month : 1;
    return kBefore[month - 1] + t.day + ((month > 2 && IsLeap(t.year)) ? 1 : 0);  // 1-based
}

void Two(std::string& out, int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    out += buffer;
}

int WeekDay(const platform::LocalTime& t) { return (t.dayOfWeek >= 0 && t.dayOfWeek <= 6) ? t.dayOfWeek : 0; }

}  // namespace

std::string FormatTime(const platform::LocalTime& t, std::string_view format) {
    std::string out;
    const int monthIndex = (t.month >= 1 && t.month <= 12) ? t.month - 1 : 0;
    const int hour12 = (t.hour % 12 == 0) ? 12 : t.hour % 12;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 >= format.size()) {
            out.push_back(format[i]);
            continue;
        }
        const char conversion = format[++i];
        switch (conversion) {
            case 'a': out += kDayShort[WeekDay(t)]; break;
            case 'A': out += kDayLong[WeekDay(t)]; break;
            case 'b': out += kMonthShort[monthIndex]; break;
            case 'B': out += kMonthLong[monthIndex]; break;
            case 'c': out += FormatTime(t, "%m/%d/%y %H:%M:%S"); break;
            case 'd': Two(out, t.day); break;
            case 'H': Two(out, t.hour); break;
            case 'I': Two(out, hour12); break;
            case 'j': {
                char buffer[16];
                std::snprintf(buffer, sizeof buffer, "%03d", DayOfYear(t));
                out += buffer;
                break;
            }
            case 'm': Two(out, t.month); break;
            case 'M': Two(out, t.minute); break;
            case 'p': out += t.hour < 12 ? "AM" : "PM"; break;
            case 'S': Two(out, t.second); break;
            case 'U': Two(out, (DayOfYear(t) - 1 + 7 - WeekDay(t)) / 7); break;
            case 'w': out += static_cast<char>('0' + WeekDay(t)); break;
            case 'W': Two(out, (DayOfYear(t) - 1 + 7 - (WeekDay(t) + 6) % 7) / 7); break;
            case 'x': out += FormatTime(t, "%m/%d/%y"); break;
            case 'X': out += FormatTime(t, "%H:%M:%S"); break;
            case 'y': Two(out, ((t.year % 100) + 100) % 100); break;
            case 'Y': out += std::to_string(t.year); break;
            case 'Z': break;
            case '%': out.push_back('%'); break;
            default:
                out.push_back('%');
                out.push_back(conversion);
                break;
        }
    }
    return out;
}

}  // namespace kavlo
