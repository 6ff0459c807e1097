#include "present/column_spec.h"

#include "present/list_rows.h"

namespace kavlo::ui {

std::vector<ColumnSpec> ParseColumnSpec(std::string_view spec) {
    // The specification often ends with the line feed of its script line.
    while (!spec.empty() && (spec.back() == '\n' || spec.back() == '\r')) spec.remove_suffix(1);
    std::vector<ColumnSpec> columns;
    if (spec.empty()) return columns;
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = spec.find(',', start);
        parts.push_back(spec.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    for (std::size_t i = 0; i < parts.size(); i += 2) {
        ColumnSpec column;
        column.name = std::string(parts[i]);
        if (i + 1 < parts.size()) {
            const long long width = LeadingInteger(parts[i + 1]);
            column.widthChars = width < 0 ? 0 : (width > kMaxColumnChars ? kMaxColumnChars : static_cast<int>(width));
        }
        columns.push_back(std::move(column));
    }
    return columns;
}

}  // namespace kavlo::ui
