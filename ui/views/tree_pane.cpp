#include "ui/views/tree_pane.h"

#include "engine/tree_fill.h"
#include "ui/resource.h"
#include "ui/views/check_states.h"

namespace kavlo::ui {
namespace {

/// A tree level with the stored state numbers turned into the control's images.
std::vector<TreeLevelItem> LevelWithStateImages(const ResultNode& node) {
    std::vector<TreeLevelItem> level = TreeLevel(node);
    for (TreeLevelItem& item : level) item.stateImage = StateImageOf(item.hasState, item.stateImage);
    return level;
}

}  // namespace

TreePane::TreePane() : ContentView(IDD_VIEW_TREE) {}

void TreePane::OnInitialUpdate() {
    tree_.Attach(Item(IDC_TREE));
    ContentView::OnInitialUpdate();
}

void TreePane::OnUpdate(int hint) {
    if (hint != kHintShowTitle || !title()) return;
    stateImages_.Reset(LoadStateImages());
    TreeView_SetImageList(tree_.hwnd(), stateImages_.get(), TVSIL_STATE);
    TreeView_SetTextColor(tree_.hwnd(), RGB(0, 0, 0));
    tree_.ShowLevels(LevelWithStateImages(title()->Root()), &LevelWithStateImages,
                     ImageList_GetImageCount(stateImages_.get()));
    if (HTREEITEM first = TreeView_GetRoot(tree_.hwnd())) {
        tree_.Expand(tree_.KeyOf(first));
        TreeView_SelectItem(tree_.hwnd(), first);
    }
    ShowEmptyHint(tree_.ItemCount() == 0);
}

INT_PTR TreePane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.hwndFrom == tree_.hwnd() && header.code == TVN_GETINFOTIPW) {
            auto& tip = *reinterpret_cast<NMTVGETINFOTIPW*>(lParam);
            const std::uint32_t key = static_cast<std::uint32_t>(tip.lParam);
            const std::wstring_view legend = StateLegend(tree_.StateImage(key));
            if (!legend.empty() && tip.cchTextMax > 0) {
                const std::size_t n = std::min(legend.size(), static_cast<std::size_t>(tip.cchTextMax - 1));
                legend.copy(tip.pszText, n);
                tip.pszText[n] = L'\0';
            }
            return Result(0);
        }
        if (tree_.HandleNotify(header)) return Result(0);
    }
    return ContentView::HandleMessage(message, wParam, lParam);
}

void TreePane::Layout(int width, int height) {
    MoveWindow(tree_.hwnd(), 0, 0, width, height, TRUE);
    LayoutEmptyHint(width, height);
}

}  // namespace kavlo::ui
