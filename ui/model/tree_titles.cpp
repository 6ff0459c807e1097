#include "ui/model/tree_titles.h"

#include <limits>

#include "ui/model/list_rows.h"

namespace kavlo::ui {

TreeLabel DecodeStateTitle(std::string_view title) {
    TreeLabel label;
    if (title.empty() || title.front() != '|') {
        label.text = std::string(title);
        return label;
    }
    const std::string_view field = title.substr(0, 4);
    std::string digits;
    for (char c : field) {
        if (c != '|') digits += c;
    }
    const long long index = LeadingInteger(digits);
    label.stateImage = (index < 0 || index > 255) ? 0 : static_cast<int>(index);
    label.text = std::string(title.substr(field.size()));
    return label;
}

std::optional<std::string> ExpandableNodeLabel(std::string_view title) {
    std::string_view marker;
    if (title.substr(0, 4) == "[D] ") {
        marker = "[D] ";
    } else if (title.substr(0, 4) == "{D} ") {
        marker = "{D} ";
    } else {
        return std::nullopt;
    }
    std::string label;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = title.find(marker, start);
        label.append(title.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos) break;
        start = at + marker.size();
    }
    return label;
}

bool DetailSorts(std::string_view detail) { return detail.find("sort") != std::string_view::npos; }

}  // namespace kavlo::ui
