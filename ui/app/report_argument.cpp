#include "ui/app/report_argument.h"

#include <algorithm>
#include <cctype>

#include "present/timed_mode.h"

namespace kavlo::ui {
namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(
        suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()), [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
        });
}

bool IsReportPath(std::string_view text) {
    return EndsWithIgnoringCase(text, ".ifo") || EndsWithIgnoringCase(text, ".ifo.gz");
}

}  // namespace

std::string ReportPathArgument(std::string_view commandLine) {
    // An unquoted path with blanks arrives split: parameters are joined from
    // each start until the joined text is a report path. A switch ("/", "-")
    // only counts by itself.
    const std::vector<std::string> parameters = SplitCommandLine(commandLine);
    for (std::size_t first = 0; first < parameters.size(); ++first) {
        const bool isSwitch =
            !parameters[first].empty() && (parameters[first][0] == '/' || parameters[first][0] == '-');
        std::string joined;
        for (std::size_t last = first; last < parameters.size(); ++last) {
            if (last > first) joined += ' ';
            joined += parameters[last];
            if (IsReportPath(joined)) {
                if (last == first || !isSwitch) return joined;
                break;
            }
            if (isSwitch) break;
        }
    }
    return {};
}

}  // namespace kavlo::ui
