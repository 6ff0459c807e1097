#include "ui/win/tree_control.h"

#include <string>

#include "ui/win/text.h"

namespace kavlo::ui {

bool TreeControl::InsertKeyed(std::uint32_t parent, std::uint32_t key, std::string_view text) {
    if (key == kRootKey || items_.count(key)) return false;
    if (key >= nextKey_) nextKey_ = key + 1;
    HTREEITEM parentItem = parent == kRootKey ? TVI_ROOT : Handle(parent);
    return Insert(parentItem ? parentItem : TVI_ROOT, key, text, 0, false) != nullptr;
}

HTREEITEM TreeControl::Insert(HTREEITEM parent, std::uint32_t key, std::string_view text, int stateImage,
                              bool callback) {
    std::wstring wide = Widen(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = wide.data();
    insert.item.lParam = static_cast<LPARAM>(key);
    if (callback) {
        insert.item.mask |= TVIF_CHILDREN;
        insert.item.cChildren = I_CHILDRENCALLBACK;
    }
    // The state field of an item holds image indexes 1 to 15 only.
    if (stateImage > 0 && stateImage < stateImages_ && stateImage <= 15) {
        insert.item.mask |= TVIF_STATE;
        insert.item.state = INDEXTOSTATEIMAGEMASK(static_cast<UINT>(stateImage));
        insert.item.stateMask = TVIS_STATEIMAGEMASK;
    }
    HTREEITEM item =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item) items_[key] = item;
    return item;
}

void TreeControl::ShowLevels(const std::vector<TreeLevelItem>& top, LevelSource source, int stateImages) {
    Clear();
    source_ = std::move(source);
    stateImages_ = stateImages;
    InsertLevel(TVI_ROOT, top);
}

void TreeControl::InsertLevel(HTREEITEM parent, const std::vector<TreeLevelItem>& items) {
    // With redrawing on, the control lays itself out again after every insert.
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    results_.reserve(results_.size() + items.size());
    for (const TreeLevelItem& item : items) {
        const std::uint32_t key = nextKey_++;
        results_[key] = {item.node};
        Insert(parent, key, item.text, item.stateImage, true);
    }
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(tree_, nullptr, TRUE);
}

void TreeControl::FillChildren(std::uint32_t key) {
    const auto found = results_.find(key);
    if (found == results_.end() || found->second.filled || !source_) return;
    found->second.filled = true;
    const std::vector<TreeLevelItem> level = source_(*found->second.node);
    found->second.hasChildren = level.empty() ? 0 : 1;
    if (HTREEITEM item = Handle(key)) InsertLevel(item, level);
}

bool TreeControl::HasChildren(ResultItem& item) {
    if (item.hasChildren < 0) item.hasChildren = source_ && !source_(*item.node).empty() ? 1 : 0;
    return item.hasChildren != 0;
}

const ResultNode* TreeControl::NodeOf(std::uint32_t key) const {
    const auto found = results_.find(key);
    return found == results_.end() ? nullptr : found->second.node;
}

bool TreeControl::HandleNotify(const NMHDR& header) {
    if (header.hwndFrom != tree_) return false;
    if (header.code == TVN_GETDISPINFOW) {
        auto& info = const_cast<NMTVDISPINFOW&>(reinterpret_cast<const NMTVDISPINFOW&>(header));
        if (!(info.item.mask & TVIF_CHILDREN)) return false;
        const auto found = results_.find(static_cast<std::uint32_t>(info.item.lParam));
        info.item.cChildren = found != results_.end() && HasChildren(found->second) ? 1 : 0;
        return true;
    }
    if (header.code == TVN_ITEMEXPANDINGW) {
        const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
        if (change.action & TVE_EXPAND) FillChildren(static_cast<std::uint32_t>(change.itemNew.lParam));
        return false;  // the control goes on expanding
    }
    return false;
}

void TreeControl::Clear() {
    // Without redrawing, deleting many items does not repaint after each one.
    SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(tree_);
    SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
    items_.clear();
    results_.clear();
    nextKey_ = 1;
}

HTREEITEM TreeControl::Handle(std::uint32_t key) const {
    const auto found = items_.find(key);
    return found == items_.end() ? nullptr : found->second;
}

std::uint32_t TreeControl::KeyOf(HTREEITEM item) const {
    if (!item) return kRootKey;
    TVITEMW data{};
    data.mask = TVIF_PARAM | TVIF_HANDLE;
    data.hItem = item;
    if (!TreeView_GetItem(tree_, &data)) return kRootKey;
    return static_cast<std::uint32_t>(data.lParam);
}

void TreeControl::Expand(std::uint32_t key) {
    FillChildren(key);
    if (HTREEITEM item = Handle(key)) TreeView_Expand(tree_, item, TVE_EXPAND);
}

void TreeControl::Select(std::uint32_t key) const {
    if (HTREEITEM item = Handle(key)) TreeView_SelectItem(tree_, item);
}

void TreeControl::SetBold(std::uint32_t key, bool bold) const {
    if (HTREEITEM item = Handle(key)) TreeView_SetItemState(tree_, item, bold ? TVIS_BOLD : 0, TVIS_BOLD);
}

bool TreeControl::IsBold(std::uint32_t key) const {
    HTREEITEM item = Handle(key);
    return item && (TreeView_GetItemState(tree_, item, TVIS_BOLD) & TVIS_BOLD) != 0;
}

std::wstring TreeControl::Text(std::uint32_t key) const {
    HTREEITEM item = Handle(key);
    if (!item) return {};
    wchar_t buffer[1024] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = static_cast<int>(std::size(buffer));
    TreeView_GetItem(tree_, &data);
    return buffer;
}

int TreeControl::StateImage(std::uint32_t key) const {
    HTREEITEM item = Handle(key);
    if (!item) return 0;
    return static_cast<int>((TreeView_GetItemState(tree_, item, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) >> 12);
}

}  // namespace kavlo::ui
