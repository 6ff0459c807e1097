#include "present/list_rows.h"

#include <limits>

namespace kavlo::ui {

std::vector<std::string> SplitCells(std::string_view line) {
    std::vector<std::string> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = line.find(',', start);
        const std::string_view cell =
            line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        cells.emplace_back(cell.empty() ? std::string_view(" ") : cell);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return cells;
}

long long LeadingInteger(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    constexpr long long kLimit = std::numeric_limits<long long>::max() / 10 - 1;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value > kLimit) {
            value = std::numeric_limits<long long>::max();
            while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
            break;
        }
        value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

ListRow DecodeRow(std::string_view line, bool fileList, std::size_t number) {
    ListRow row;
    row.number = number;
    row.cells = SplitCells(line);
    if (fileList) {
        const long long image = LeadingInteger(row.cells.front());
        row.image = (image < 0 || image > std::numeric_limits<int>::max()) ? 0 : static_cast<int>(image);
        row.cells.erase(row.cells.begin());
        if (row.cells.empty()) row.cells.emplace_back(" ");
    }
    return row;
}

std::vector<ListRow> DecodeRows(std::string_view text, bool fileList) {
    std::vector<ListRow> rows;
    if (text.empty()) {
        ListRow blank;
        blank.cells.emplace_back(" ");
        rows.push_back(std::move(blank));
        return rows;
    }
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::string_view line =
            text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        rows.push_back(DecodeRow(line, fileList, rows.size()));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return rows;
}

}  // namespace kavlo::ui
