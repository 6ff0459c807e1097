#include "ui/views/list_control.h"

#include "present/column_spec.h"
#include "ui/resource.h"
#include "ui/win/text.h"
#include "ui/win/window.h"

namespace kavlo::ui {
namespace {

constexpr int kImageAscending = 3;
constexpr int kImageDescending = 4;

}  // namespace

HIMAGELIST LoadImageList(int width, int height, const std::vector<int>& bitmapIds) {
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, static_cast<int>(bitmapIds.size()), 4);
    for (int id : bitmapIds) {
        UniqueBitmap bitmap(static_cast<HBITMAP>(
            LoadImageW(ResourceModule(), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ImageList_AddMasked(list, bitmap.get(), RGB(255, 0, 255));
    }
    return list;
}

void RowList::Attach(HWND list, bool rowImages) {
    list_ = list;
    images_.Reset(
        LoadImageList(16, 16, {IDB_LIST_FILE, IDB_LIST_FOLDER, IDB_LIST_MISSING, IDB_SORT_UP, IDB_SORT_DOWN}));
    rowImages_ = rowImages;
    Header_SetImageList(ListView_GetHeader(list_), images_.get());
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_HEADERDRAGDROP);
}

int RowList::ColumnCount() const { return Header_GetItemCount(ListView_GetHeader(list_)); }

void RowList::SetColumns(const std::string& spec) {
    ListView_SetItemCountEx(list_, 0, 0);
    rows_.clear();
    while (ListView_DeleteColumn(list_, 0)) {
    }
    sort_ = SortState();
    HDC dc = GetDC(list_);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    int index = 0;
    for (const ColumnSpec& column : ParseColumnSpec(spec)) {
        const std::wstring measure(static_cast<std::size_t>(column.widthChars), L'a');
        SIZE size{};
        GetTextExtentPoint32W(dc, measure.c_str(), static_cast<int>(measure.size()), &size);
        std::wstring name = Widen(column.name);
        LVCOLUMNW lvc{};
        lvc.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        lvc.fmt = LVCFMT_LEFT;
        lvc.cx = size.cx;
        lvc.pszText = name.data();
        if (index > 0) {
            lvc.mask |= LVCF_SUBITEM;
            lvc.iSubItem = index;
        }
        ListView_InsertColumn(list_, index, &lvc);
        ++index;
    }
    SelectObject(dc, old);
    ReleaseDC(list_, dc);
}

void RowList::SetRows(std::vector<ListRow> rows, std::vector<SortType> sortTypes, bool images) {
    rows_ = std::move(rows);
    sortTypes_ = std::move(sortTypes);
    // Without row images the list has no image list, so that the first column
    // is not indented by an empty image slot and lines up with its header.
    ListView_SetImageList(list_, images && rowImages_ ? images_.get() : nullptr, LVSIL_SMALL);
    images_shown_ = images;
    ListView_SetItemCountEx(list_, static_cast<int>(rows_.size()), 0);
    InvalidateRect(list_, nullptr, TRUE);
}

void RowList::SetSortMark(int column, int image) {
    HWND header = ListView_GetHeader(list_);
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    Header_GetItem(header, column, &item);
    item.fmt &= ~(HDF_IMAGE | HDF_BITMAP_ON_RIGHT);
    if (image >= 0) {
        item.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
        item.iImage = image;
    }
    Header_SetItem(header, column, &item);
}

void RowList::ClickColumn(int column) {
    if (column < 0) return;
    const auto cleared = sort_.Click(static_cast<std::size_t>(column));
    if (cleared) SetSortMark(static_cast<int>(*cleared), -1);
    // A column that does not sort shows no mark: its rows keep their order.
    const bool sorts = SortTypeOf(sortTypes_, static_cast<std::size_t>(column)) != SortType::NoSort;
    SetSortMark(column, !sorts ? -1 : sort_.ascending() ? kImageAscending : kImageDescending);
    SortRows(rows_, static_cast<std::size_t>(column), SortTypeOf(sortTypes_, static_cast<std::size_t>(column)),
             sort_.ascending());
    InvalidateRect(list_, nullptr, TRUE);
}

bool RowList::HandleNotify(NMHDR& header) {
    if (header.hwndFrom != list_) return false;
    if (header.code == LVN_GETDISPINFOW) {
        FillDisplayInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
        return true;
    }
    if (header.code == LVN_COLUMNCLICK) {
        ClickColumn(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        return true;
    }
    return false;
}

void RowList::FillDisplayInfo(NMLVDISPINFOW& info) {
    LVITEMW& item = info.item;
    if (item.iItem < 0 || static_cast<std::size_t>(item.iItem) >= rows_.size()) return;
    const ListRow& row = rows_[static_cast<std::size_t>(item.iItem)];
    if (item.mask & LVIF_TEXT) {
        const auto cell = static_cast<std::size_t>(item.iSubItem);
        scratch_ = cell < row.cells.size() ? Widen(row.cells[cell]) : std::wstring();
        if (item.cchTextMax > 0) {
            const std::size_t n = std::min(scratch_.size(), static_cast<std::size_t>(item.cchTextMax - 1));
            scratch_.copy(item.pszText, n);
            item.pszText[n] = L'\0';
        }
    }
    if (item.mask & LVIF_IMAGE) {
        // Only the three row images; the sort marks that follow them are not row images.
        const bool shown = images_shown_ && item.iSubItem == 0 && row.image >= 0 && row.image < kImageAscending;
        item.iImage = shown ? row.image : I_IMAGENONE;
    }
    if (item.mask & LVIF_PARAM) item.lParam = static_cast<LPARAM>(row.number);
}

}  // namespace kavlo::ui
