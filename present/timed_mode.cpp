#include "present/timed_mode.h"

namespace kavlo::ui {
namespace {

bool Contains(std::string_view text, std::string_view word) { return text.find(word) != std::string_view::npos; }

/// The leading decimal digits after the first ":" as a number, saturated at
/// one more than `ceiling` so that long digit runs cannot overflow.
std::uint64_t IntervalAfterColon(std::string_view parameter, std::uint64_t ceiling) {
    const std::size_t colon = parameter.find(':');
    std::uint64_t value = 0;
    for (std::size_t i = colon + 1; i < parameter.size() && parameter[i] >= '0' && parameter[i] <= '9'; ++i) {
        value = value * 10 + static_cast<std::uint64_t>(parameter[i] - '0');
        if (value > ceiling) return ceiling + 1;
    }
    return value;
}

}  // namespace

std::string_view StripSwitch(std::string_view parameter) {
    if (!parameter.empty() && (parameter.front() == '/' || parameter.front() == '-')) parameter.remove_prefix(1);
    return parameter;
}

TimedSettings ParseTimedSettings(const std::vector<std::string>& parameters, std::string_view defaultDirectory) {
    TimedSettings settings;
    settings.directory = std::string(defaultDirectory);
    for (const std::string& parameter : parameters) {
        if (Contains(parameter, "min:") || Contains(parameter, "hour:")) {
            settings.timed = true;
            settings.minutes = Contains(parameter, "min:");
            const std::uint32_t ceiling = settings.minutes ? kMaxIntervalMinutes : kMaxIntervalHours;
            const std::uint64_t interval = IntervalAfterColon(parameter, ceiling);
            if (interval == 0 || interval > ceiling) {
                settings.error = "The parameter \"" + parameter + "\" needs an interval of 1 to " +
                                 std::to_string(ceiling) + (settings.minutes ? " minutes." : " hours.");
                settings.interval = 0;
            } else {
                settings.error.clear();
                settings.interval = static_cast<std::uint32_t>(interval);
            }
        }
        if (Contains(parameter, "dir:")) settings.directory = parameter.substr(parameter.find(':') + 1);
    }
    return settings;
}

std::string IntervalText(const TimedSettings& settings) {
    return std::to_string(settings.interval) + (settings.minutes ? " minutes" : " hours");
}

std::vector<std::string> SplitCommandLine(std::string_view line) {
    std::vector<std::string> parameters;
    std::size_t i = 0;
    while (true) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string parameter;
        bool quoted = false;
        for (; i < line.size(); ++i) {
            const char c = line[i];
            if (c == '\\') {
                std::size_t slashes = 0;
                while (i < line.size() && line[i] == '\\') {
                    ++slashes;
                    ++i;
                }
                if (i < line.size() && line[i] == '"') {
                    parameter.append(slashes / 2, '\\');
                    if (slashes % 2 == 1) {
                        parameter += '"';
                        continue;
                    }
                    --i;  // the quote toggles quoting on the next round
                    continue;
                }
                parameter.append(slashes, '\\');
                --i;
                continue;
            }
            if (c == '"') {
                quoted = !quoted;
                continue;
            }
            if (!quoted && (c == ' ' || c == '\t')) break;
            parameter += c;
        }
        parameters.emplace_back(StripSwitch(parameter));
    }
    return parameters;
}

}  // namespace kavlo::ui
