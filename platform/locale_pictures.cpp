#include "platform/locale_pictures.h"

#include <array>

namespace kavlo::platform {
namespace {

constexpr std::array<std::string_view, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonthNames = {"January",   "February", "March",    "April",
                                                          "May",       "June",     "July",     "August",
                                                          "September", "October",  "November", "December"};

void AppendNumber(std::string& out, int value, bool twoDigits) {
    if (value < 0) value = 0;
    const std::string digits = std::to_string(value);
    if (twoDigits && digits.size() < 2) out += '0';
    out += digits;
}

// Fields outside their range (a LocalTime built by hand) print as their
// nearest valid name rather than reading past a table.
std::string_view Name(const auto& table, int index) {
    const int last = static_cast<int>(table.size()) - 1;
    return table[static_cast<std::size_t>(index < 0 ? 0 : index > last ? last : index)];
}

// Appends one run of `count` equal letters; false when the letter is no field.
using FieldWriter = bool (*)(const LocalTime& time, char letter, std::size_t count, std::string& out);

bool WriteDateField(const LocalTime& t, char letter, std::size_t count, std::string& out) {
    switch (letter) {
        case 'd':
            if (count <= 2) AppendNumber(out, t.day, count == 2);
            else if (count == 3) out += Name(kDayNames, t.dayOfWeek).substr(0, 3);
            else out += Name(kDayNames, t.dayOfWeek);
            return true;
        case 'M':
            if (count <= 2) AppendNumber(out, t.month, count == 2);
            else if (count == 3) out += Name(kMonthNames, t.month - 1).substr(0, 3);
            else out += Name(kMonthNames, t.month - 1);
            return true;
        case 'y':
            if (count <= 2) AppendNumber(out, t.year % 100, count == 2);
            else AppendNumber(out, t.year, false);
            return true;
        case 'g': out += "A.D."; return true;
        default: return false;
    }
}

bool WriteTimeField(const LocalTime& t, char letter, std::size_t count, std::string& out) {
    const bool twoDigits = count >= 2;
    switch (letter) {
        case 'h': AppendNumber(out, t.hour % 12 == 0 ? 12 : t.hour % 12, twoDigits); return true;
        case 'H': AppendNumber(out, t.hour, twoDigits); return true;
        case 'm': AppendNumber(out, t.minute, twoDigits); return true;
        case 's': AppendNumber(out, t.second, twoDigits); return true;
        case 't': out += std::string_view(t.hour < 12 ? "AM" : "PM").substr(0, twoDigits ? 2 : 1); return true;
        default: return false;
    }
}

std::string FormatPicture(const LocalTime& time, std::string_view picture, FieldWriter writeField) {
    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            // Quoted text up to the closing quote; '' inside stands for one quote.
            ++i;
            while (i < picture.size()) {
                if (picture[i] == '\'') {
                    if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                        out += '\'';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                out += picture[i++];
            }
            continue;
        }
        std::size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        if (!writeField(time, c, run, out)) out.append(run, c);
        i += run;
    }
    return out;
}

}  // namespace

std::string FormatDatePicture(const LocalTime& time, std::string_view picture) {
    return FormatPicture(time, picture, &WriteDateField);
}

std::string FormatTimePicture(const LocalTime& time, std::string_view picture) {
    return FormatPicture(time, picture, &WriteTimeField);
}

}  // namespace kavlo::platform
