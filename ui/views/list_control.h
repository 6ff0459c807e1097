#pragma once
// The virtual list control shared by ListPane and ExpandableTreePane: columns from a
// column specification, decoded rows, the three-click sort with sort marks.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "present/list_rows.h"
#include "present/list_sort.h"
#include "ui/win/handles.h"

namespace kavlo::ui {

class RowList {
public:
    /// Takes the control and gives it the sort marks and, with `rowImages`, the row images.
    void Attach(HWND list, bool rowImages = true);
    HWND hwnd() const { return list_; }

    /// Deletes all rows and columns and inserts the columns of a specification.
    void SetColumns(const std::string& spec);
    /// Replaces the rows; `images` shows each row's image (file lists).
    void SetRows(std::vector<ListRow> rows, std::vector<SortType> sortTypes, bool images);
    void ClearRows() { SetRows({}, sortTypes_, images_shown_); }

    /// A click on a column header (LVN_COLUMNCLICK).
    void ClickColumn(int column);
    /// Answers LVN_GETDISPINFO for the virtual list.
    void FillDisplayInfo(NMLVDISPINFOW& info);
    /// Handles this control's own WM_NOTIFY messages; false for any other.
    bool HandleNotify(NMHDR& header);

    const std::vector<ListRow>& rows() const { return rows_; }
    const SortState& sort() const { return sort_; }
    int ColumnCount() const;

private:
    void SetSortMark(int column, int image);

    HWND list_ = nullptr;
    UniqueImageList images_;
    std::vector<ListRow> rows_;
    std::vector<SortType> sortTypes_;
    bool images_shown_ = false;
    bool rowImages_ = true;
    SortState sort_;
    std::wstring scratch_;
};

/// Loads bitmaps into a masked image list (magenta is transparent).
HIMAGELIST LoadImageList(int width, int height, const std::vector<int>& bitmapIds);

}  // namespace kavlo::ui
