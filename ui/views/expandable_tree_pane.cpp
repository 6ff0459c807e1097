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
    tree_.SetStateImageCount(ImageList_GetImageCount(stateImages_.get()));
    SendMessageW(tree_.hwnd(), WM_SETREDRAW, FALSE, 0);
    tree_.Clear();
    ResetEntryPane();
    ShowEntries(nullptr);
    FillExpandableTree(title()->Root(), tree_, TreeControl::kRootKey);
    SendMessageW(tree_.hwnd(), WM_SETREDRAW, TRUE, 0);
    if (HTREEITEM first = TreeView_GetRoot(tree_.hwnd())) {
        TreeView_Expand(tree_.hwnd(), first, TVE_EXPAND);
        TreeView_SelectItem(tree_.hwnd(), first);
    }
    InvalidateRect(tree_.hwnd(), nullptr, TRUE);
}

INT_PTR ExpandableTreeView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom == IDC_TREE && header->code == TVN_SELCHANGEDW && title()) {
            const std::uint32_t key = tree_.KeyOf(reinterpret_cast<NMTREEVIEWW*>(lParam)->itemNew.hItem);
            ShowEntries(key != TreeControl::kRootKey ? title()->Root().FindByHandle(key) : nullptr);
            return TRUE;
        }
    }
    return ContentView::HandleMessage(message, wParam, lParam);
}

void ExpandableTreeView::Layout(int width, int height) {
    const int treeWidth = width * splitPercent_ / 100;
    const int gap = 3;
    MoveWindow(tree_.hwnd(), 0, 0, treeWidth, height, TRUE);
    MoveWindow(EntryPane(), treeWidth + gap, 0, std::max(0, width - treeWidth - gap), height, TRUE);
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

ExpandableTreeTextPane::ExpandableTreeTextPane() : ExpandableTreeView(IDD_VIEW_EXPTREETEXT) {}

void ExpandableTreeTextPane::OnInitialUpdate() {
    SendMessageW(RichText(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    ExpandableTreeView::OnInitialUpdate();
}

void ExpandableTreeTextPane::ShowEntries(const ResultNode* node) {
    std::string text;
    if (node) {
        for (const auto& child : node->children()) {
            if (IsTreeNodeTitle(child->title())) continue;
            text = EntryLine(child->title(), child->extra(), node->extra());
            break;
        }
    }
    SetRichText(RichText(), text);
    SetRichFont(RichText(), L"MS Sans Serif", 80);
}

}  // namespace kavlo::ui
