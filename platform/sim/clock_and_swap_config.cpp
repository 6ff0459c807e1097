#include "platform/sim/clock_and_swap_config.h"

#include "platform/sim/civil_time.h"
#include "platform/sim/name_fold.h"

namespace kavlo::platform::sim {
namespace {

// Up to 14 hours either way, as real time zones go.
constexpr int kMaxOffsetMinutes = 14 * 60;

bool TwoDigits(std::string_view text, std::size_t pos, int& out) {
    if (pos + 2 > text.size() || text[pos] < '0' || text[pos] > '9' || text[pos + 1] < '0' || text[pos + 1] > '9')
        return false;
    out = (text[pos] - '0') * 10 + (text[pos + 1] - '0');
    return true;
}

std::optional<int> ParseOffset(std::string_view text) {
    if (text == "0") return 0;
    int hours = 0, minutes = 0;
    if (text.size() != 6 || (text[0] != '+' && text[0] != '-') || text[3] != ':' || !TwoDigits(text, 1, hours) ||
        !TwoDigits(text, 4, minutes) || minutes > 59)
        return std::nullopt;
    const int total = hours * 60 + minutes;
    if (total > kMaxOffsetMinutes) return std::nullopt;
    return text[0] == '-' ? -total : total;
}

std::optional<std::uint64_t> ParseDecimal(std::string_view text) {
    if (text.empty() || text.size() > 19) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value;
}

}  // namespace

std::optional<SectionError> ReadLocaleSection(const IniSection& section, LocaleConfig& locale) {
    for (const IniEntry& e : section.entries) {
        if (SameName(e.key, "utc_offset")) {
            const auto offset = ParseOffset(e.value);
            if (!offset)
                return SectionError{
                    e.line,
                    "\"utc_offset\" is written like +01:00 or -05:00 (at most 14 hours), not \"" + e.value + "\""};
            locale.utcOffsetMinutes = *offset;
        } else if (SameName(e.key, "date_format") || SameName(e.key, "time_format")) {
            if (e.value.empty()) return SectionError{e.line, "\"" + e.key + "\" is empty"};
            (SameName(e.key, "date_format") ? locale.datePicture : locale.timePicture) = e.value;
        } else {
            return UnknownKeyError(section.name, e, "utc_offset, date_format, time_format");
        }
    }
    return std::nullopt;
}

std::optional<SectionError> ReadSwapFileSection(const IniSection& section, SwapFileInfo& swapFile) {
    for (const IniEntry& e : section.entries) {
        if (SameName(e.key, "path")) {
            swapFile.path = e.value;
        } else if (SameName(e.key, "size")) {
            const auto size = ParseDecimal(e.value);
            if (!size) return SectionError{e.line, "\"size\" is a number of bytes, not \"" + e.value + "\""};
            swapFile.sizeBytes = *size;
        } else {
            return UnknownKeyError(section.name, e, "path, size");
        }
    }
    return std::nullopt;
}

Result<LocalTime> SimLocalTime(const LocaleConfig& locale, std::int64_t seconds) {
    if (seconds < 0) return Result<LocalTime>::Failure(err::kInvalidParameter);
    return CivilFromUnixSeconds(seconds + static_cast<std::int64_t>(locale.utcOffsetMinutes) * 60);
}

}  // namespace kavlo::platform::sim
