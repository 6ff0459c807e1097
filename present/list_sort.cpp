#include "present/list_sort.h"

#include <algorithm>

namespace kavlo::ui {
namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

unsigned char Lower(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

int Sign(long long v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }

std::string_view CellOf(const ListRow& row, std::size_t column) {
    return column < row.cells.size() ? std::string_view(row.cells[column]) : std::string_view();
}

}  // namespace

SortType ParseSortType(std::string_view entry) {
    // "ASCIINoCase" before "ASCIICase" is not needed: neither is a prefix of the other.
    if (StartsWith(entry, "NoSort")) return SortType::NoSort;
    if (StartsWith(entry, "ASCIICase")) return SortType::ASCIICase;
    if (StartsWith(entry, "ASCIINoCase")) return SortType::ASCIINoCase;
    if (StartsWith(entry, "INT")) return SortType::Int;
    return SortType::NoSort;
}

std::vector<SortType> ParseSortTypes(std::string_view list) {
    std::vector<SortType> types;
    if (list.empty()) return types;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = list.find(',', start);
        types.push_back(ParseSortType(
            list.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return types;
}

SortType SortTypeOf(const std::vector<SortType>& types, std::size_t column) {
    return column < types.size() ? types[column] : SortType::NoSort;
}

int CompareCells(SortType type, std::string_view a, std::string_view b) {
    switch (type) {
        case SortType::NoSort: return 0;
        case SortType::ASCIICase: {
            const int c = a.compare(b);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        case SortType::ASCIINoCase: {
            const std::size_t n = std::min(a.size(), b.size());
            for (std::size_t i = 0; i < n; ++i) {
                const int d = Lower(a[i]) - Lower(b[i]);
                if (d != 0) return d < 0 ? -1 : 1;
            }
            return Sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
        }
        case SortType::Int: {
            const long long x = LeadingInteger(a);
            const long long y = LeadingInteger(b);
            return x < y ? -1 : (x > y ? 1 : 0);
        }
    }
    return 0;
}

std::optional<std::size_t> SortState::Click(std::size_t column) {
    std::optional<std::size_t> cleared;
    if (column_ != column) {
        if (column_) cleared = column_;
        column_ = column;
        ascending_ = true;
    } else {
        ascending_ = !ascending_;
    }
    return cleared;
}

void SortRows(std::vector<ListRow>& rows, std::size_t column, SortType type, bool ascending) {
    if (type == SortType::NoSort) return;
    std::stable_sort(rows.begin(), rows.end(), [&](const ListRow& x, const ListRow& y) {
        const int c = CompareCells(type, CellOf(x, column), CellOf(y, column));
        return ascending ? c < 0 : c > 0;
    });
}

}  // namespace kavlo::ui
