#include "ui/win/tree_control.h"

#include <string>

#include "ui/win/text.h"

namespace kavlo::ui {

std::uint32_t TreeControl::InsertItem(std::uint32_t parent, std::string_view text, int stateImage) {
    const std::uint32_t key = nextKey_++;
    return Insert(parent, key, text, stateImage) ? key : kRootKey;
}

bool TreeControl::InsertKeyed(std::uint32_t parent, std::uint32_t key, std::string_view text) {
    if (key == kRootKey || items_.count(key)) return false;
    if (key >= nextKey_) nextKey_ = key + 1;
    return Insert(parent, key, text, 0) != nullptr;
}

HTREEITEM TreeControl::Insert(std::uint32_t parent, std::uint32_t key, std::string_view text, int stateImage) {
    std::wstring wide = Widen(text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent == kRootKey ? TVI_ROOT : Handle(parent);
    if (!insert.hParent) insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = wide.data();
    insert.item.lParam = static_cast<LPARAM>(key);
    // The state field of an item holds image indexes 1 to 15 only.
    if (stateImage > 0 && stateImage < stateImages_ && stateImage <= 15) {
        insert.item.mask |= TVIF_STATE;
        insert.item.state = INDEXTOSTATEIMAGEMASK(static_cast<UINT>(stateImage));
        insert.item.stateMask = TVIS_STATEIMAGEMASK;
    }
    HTREEITEM item = reinterpret_cast<HTREEITEM>(
        SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    if (item) items_[key] = item;
    return item;
}

void TreeControl::SortChildren(std::uint32_t parent) {
    HTREEITEM item = parent == kRootKey ? TVI_ROOT : Handle(parent);
    if (item) TreeView_SortChildren(tree_, item, FALSE);
}

void TreeControl::Clear() {
    TreeView_DeleteAllItems(tree_);
    items_.clear();
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

void TreeControl::Expand(std::uint32_t key) const {
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
