#pragma once
// The timed report mode's command-line settings.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo::ui {

struct TimedSettings {
    bool timed = false;
    std::uint32_t interval = 1;
    bool minutes = false;   ///< else hours
    std::string directory;  ///< report directory
    std::string error;      ///< why the settings were refused; empty when valid
    std::uint32_t PeriodMs() const { return interval * (minutes ? 60000u : 3600000u); }
};

/// Longest intervals whose period in milliseconds fits 32 bits.
inline constexpr std::uint32_t kMaxIntervalMinutes = 71582;
inline constexpr std::uint32_t kMaxIntervalHours = 1193;

/// Strips the leading "/" or "-" of a command-line parameter.
std::string_view StripSwitch(std::string_view parameter);

/// Scans the parameters (each already without its switch character) for "min:",
/// "hour:" and "dir:". An interval of 0 or one whose period would not fit in 32
/// bits of milliseconds is refused: `error` names the parameter and the range.
TimedSettings ParseTimedSettings(const std::vector<std::string>& parameters, std::string_view defaultDirectory);

/// "30 minutes" or "2 hours", as the dialog shows the interval.
std::string IntervalText(const TimedSettings& settings);

/// Splits a Windows command line (without the program name) into parameters the
/// way the C runtime does, and strips each parameter's switch character.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace kavlo::ui
