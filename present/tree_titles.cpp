#include "present/tree_titles.h"

#include "engine/tree_fill.h"

namespace kavlo::ui {

bool IsTreeNodeTitle(std::string_view title) { return !ExpandableMarker(title).empty(); }

std::string EntryLine(std::string_view title, std::string_view extra, std::string_view parentExtra) {
    std::string line(title);
    if (!extra.empty() && extra != parentExtra) {
        line += ',';
        line += extra;
    }
    return line;
}

}  // namespace kavlo::ui
