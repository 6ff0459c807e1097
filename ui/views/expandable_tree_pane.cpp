#include "ui/views/expandable_tree_pane.h"

#include <richedit.h>

#include <algorithm>

#include "engine/tree_fill.h"
#include "present/list_rows.h"
#include "present/tree_titles.h"
#include "ui/resource.h"

namespace kavlo::ui {
namespace {

/// The column specification of an expandable tree: its root's, else the kind's.
std::string ColumnsOf(TitleRecord& title) {
    return title.Root().extra().empty() ? title.kindDetail : title.Root().extra();
}

}  // namespace

void ExpandableTreeView::OnInitialUpdate() {
    tree_.Attach(Item(IDC_TREE));
    PrepareEntryPane();
    ContentView::OnInitialUpdate();
}

void ExpandableTreeView::OnUpdate(int hint) {
    if (hint != kHintShowTitle || !title()) return;
    stateImages_.Reset(LoadImageList(16, 16, {IDB_EXP_CLOSED, IDB_EXP_CLOSED, IDB_EXP_OPEN}));
    TreeView_SetImageList(tree_.hwnd(), stateImages_.get(), TVSIL_STATE);
    ResetEntryPane();
    ShowEntries(nullptr);
    tree_.ShowLevels(ExpandableTreeTop(title()->Root()), &ExpandableTreeLevel,
                     ImageList_GetImageCount(stateImages_.get()));
    if (HTREEITEM first = TreeView_GetRoot(tree_.hwnd())) {
        tree_.Expand(tree_.KeyOf(first));
        TreeView_SelectItem(tree_.hwnd(), first);
    }
}

INT_PTR ExpandableTreeView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NOTIFY: {
            const NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
            if (header.hwndFrom == tree_.hwnd() && header.code == TVN_SELCHANGEDW && title()) {
                const std::uint32_t key = tree_.KeyOf(reinterpret_cast<const NMTREEVIEWW&>(header).itemNew.hItem);
                ShowEntries(tree_.NodeOf(key));
                return TRUE;
            }
            if (tree_.HandleNotify(header)) return Result(0);
            break;
        }
        // The gap between tree and entries is a splitter bar.
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == hwnd() && LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
                return Result(TRUE);
            }
            break;
        case WM_LBUTTONDOWN:
            dragging_ = true;
            SetCapture(hwnd());
            return TRUE;
        case WM_MOUSEMOVE:
            if (dragging_) {
                treeWidth_ = std::max(0, static_cast<short>(LOWORD(lParam)) - kSplitGap / 2);
                RECT client{};
                GetClientRect(hwnd(), &client);
                Layout(client.right, client.bottom);
            }
            return TRUE;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (dragging_) {
                dragging_ = false;
                if (message == WM_LBUTTONUP) ReleaseCapture();
            }
            return TRUE;
        default: break;
    }
    return ContentView::HandleMessage(message, wParam, lParam);
}

void ExpandableTreeView::Layout(int width, int height) {
    // The tree starts at 35% of the view; once dragged it keeps its width.
    const int treeWidth = std::clamp(treeWidth_ < 0 ? width * 35 / 100 : treeWidth_, 0, std::max(0, width - kSplitGap));
    MoveWindow(tree_.hwnd(), 0, 0, treeWidth, height, TRUE);
    MoveWindow(EntryPane(), treeWidth + kSplitGap, 0, std::max(0, width - treeWidth - kSplitGap), height, TRUE);
}

int ExpandableTreeView::TreeWidth() const {
    RECT rect{};
    GetWindowRect(tree_.hwnd(), &rect);
    return rect.right - rect.left;
}

// ---------------------------------------------------------------- ExpandableTreePane

ExpandableTreePane::ExpandableTreePane() : ExpandableTreeView(IDD_VIEW_EXPTREE) {}

void ExpandableTreePane::OnInitialUpdate() { ExpandableTreeView::OnInitialUpdate(); }

// Entries have no row images; without the image list their text is not indented.
void ExpandableTreePane::PrepareEntryPane() { list_.Attach(Item(IDC_LIST), false); }

void ExpandableTreePane::ResetEntryPane() {
    if (title()) list_.SetColumns(ColumnsOf(*title()));
}

void ExpandableTreePane::ShowEntries(const ResultNode* node) {
    if (!title()) return;
    std::vector<ListRow> rows;
    if (node) {
        for (const auto& child : node->children()) {
            if (IsTreeNodeTitle(child->title())) continue;
            rows.push_back(DecodeRow(EntryLine(child->title(), child->extra(), node->extra()), false, rows.size()));
        }
    }
    list_.SetRows(std::move(rows), ParseSortTypes(title()->SortTypes()), false);
}

INT_PTR ExpandableTreePane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && list_.HandleNotify(*reinterpret_cast<NMHDR*>(lParam))) return TRUE;
    return ExpandableTreeView::HandleMessage(message, wParam, lParam);
}

// ------------------------------------------------------------ ExpandableTreeTextPane

ExpandableTreeTextPane::ExpandableTreeTextPane() : ExpandableTreeView(IDD_VIEW_EXPTREETEXT) {
    TextView::RegisterClass();
}

void ExpandableTreeTextPane::OnInitialUpdate() { ExpandableTreeView::OnInitialUpdate(); }

void ExpandableTreeTextPane::ShowEntries(const ResultNode* node) {
    std::string text;
    if (node) {
        for (const auto& child : node->children()) {
            if (IsTreeNodeTitle(child->title())) continue;
            text = EntryLine(child->title(), child->extra(), node->extra());
            break;
        }
    }
    // Shown from its top-left corner; the bar scrolls to the rest of a long entry.
    if (TextView* view = TextControl()) view->SetText(std::move(text));
}

}  // namespace kavlo::ui
