#include "present/tree_titles.h"

namespace kavlo::ui {

bool IsTreeNodeTitle(std::string_view title) {
    const std::string_view head = title.substr(0, 4);
    return head == "[D] " || head == "{D} ";
}

std::string EntryLine(std::string_view title, std::string_view extra, std::string_view parentExtra) {
    std::string line(title);
    if (!extra.empty() && extra != parentExtra) {
        line += ',';
        line += extra;
    }
    return line;
}

}  // namespace kavlo::ui
