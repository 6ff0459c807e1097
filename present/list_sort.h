#pragma once
// Sorting of list rows: the three-click column state and the four sort types.

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "present/list_rows.h"

namespace kavlo::ui {

enum class SortType { NoSort, ASCIICase, ASCIINoCase, Int };

/// The sort type an entry names, by how it begins; anything else is NoSort.
SortType ParseSortType(std::string_view entry);
/// One sort type per column from a comma-separated list.
std::vector<SortType> ParseSortTypes(std::string_view list);
/// The sort type of a column; columns beyond the list do not sort.
SortType SortTypeOf(const std::vector<SortType>& types, std::size_t column);

/// Three-way comparison of two cell texts under a sort type, ascending order.
int CompareCells(SortType type, std::string_view a, std::string_view b);

/// The sort column and direction of a list view.
class SortState {
public:
    /// A click on a column header: a new column sorts ascending; the sort column
    /// flips between ascending and descending. Returns the column whose sort
    /// mark is to be cleared (the previous sort column when it changes).
    std::optional<std::size_t> Click(std::size_t column);

    std::optional<std::size_t> column() const { return column_; }
    bool ascending() const { return ascending_; }

private:
    std::optional<std::size_t> column_;
    bool ascending_ = true;
};

/// Sorts rows by one column (stable, so rows that compare equal keep their order).
void SortRows(std::vector<ListRow>& rows, std::size_t column, SortType type, bool ascending);

}  // namespace kavlo::ui
