#include "ui/views/tree_pane.h"

#include "engine/tree_fill.h"
#include "ui/resource.h"
#include "ui/views/list_control.h"

namespace kavlo::ui {

TreePane::TreePane() : ContentView(IDD_VIEW_TREE) {}

void TreePane::OnInitialUpdate() {
    tree_.Attach(Item(IDC_TREE));
    ContentView::OnInitialUpdate();
}

void TreePane::OnUpdate(int hint) {
    if (hint != kHintShowTitle || !title()) return;
    stateImages_.Reset(LoadImageList(32, 16,
                                     {IDB_STATE_156, IDB_STATE_156, IDB_STATE_155, IDB_STATE_157, IDB_STATE_158,
                                      IDB_STATE_167, IDB_STATE_168, IDB_STATE_170, IDB_STATE_169, IDB_STATE_165,
                                      IDB_STATE_166, IDB_STATE_171, IDB_STATE_172, IDB_STATE_171}));
    TreeView_SetImageList(tree_.hwnd(), stateImages_.get(), TVSIL_STATE);
    tree_.SetStateImageCount(ImageList_GetImageCount(stateImages_.get()));
    SendMessageW(tree_.hwnd(), WM_SETREDRAW, FALSE, 0);
    tree_.Clear();
    TreeView_SetTextColor(tree_.hwnd(), RGB(0, 0, 0));
    for (const auto& child : title()->Root().children()) FillTree(*child, tree_, TreeControl::kRootKey);
    SendMessageW(tree_.hwnd(), WM_SETREDRAW, TRUE, 0);
    if (HTREEITEM first = TreeView_GetRoot(tree_.hwnd())) {
        TreeView_Expand(tree_.hwnd(), first, TVE_EXPAND);
        TreeView_SelectItem(tree_.hwnd(), first);
    }
    InvalidateRect(tree_.hwnd(), nullptr, TRUE);
}

void TreePane::Layout(int width, int height) { MoveWindow(tree_.hwnd(), 0, 0, width, height, TRUE); }

}  // namespace kavlo::ui
