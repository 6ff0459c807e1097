#pragma once
// A tree control reached through 32-bit item keys of our own. Item handles are
// pointers on 64-bit Windows and do not fit the 32-bit keys that records and
// reports store, so each item carries its key as item data and the control
// keeps the way back from key to handle.
//
// Result trees are inserted a level at a time: an item gets its children when
// it is first expanded, and tells the control whether it has any only when the
// control asks (I_CHILDRENCALLBACK), so that a large tree shows at once.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/tree_fill.h"

namespace kavlo::ui {

class TreeControl {
public:
    /// The key that stands for the control's invisible root (insert at top level).
    static constexpr std::uint32_t kRootKey = 0;
    /// The items of the level below a result node.
    using LevelSource = std::function<std::vector<TreeLevelItem>(const ResultNode&)>;

    void Attach(HWND tree) { tree_ = tree; }
    HWND hwnd() const { return tree_; }

    /// Inserts an item with a key chosen by the caller (the navigation model's).
    bool InsertKeyed(std::uint32_t parent, std::uint32_t key, std::string_view text);

    /// Replaces the items by a result tree's top level; the levels below come
    /// from `source` as items are expanded. `stateImages` is the size of the
    /// control's state image list.
    void ShowLevels(const std::vector<TreeLevelItem>& top, LevelSource source, int stateImages);
    /// Inserts the children of a result item unless it has them already.
    void FillChildren(std::uint32_t key);
    /// The result node an item shows (null for none).
    const ResultNode* NodeOf(std::uint32_t key) const;
    /// Answers the control's questions about result items; true when handled.
    bool HandleNotify(const NMHDR& header);

    /// Removes every item.
    void Clear();
    HTREEITEM Handle(std::uint32_t key) const;
    /// The key of an item handle (0 for none).
    std::uint32_t KeyOf(HTREEITEM item) const;
    std::uint32_t SelectedKey() const { return KeyOf(TreeView_GetSelection(tree_)); }
    /// The number of items in the control.
    std::size_t ItemCount() const { return items_.size(); }

    /// Expands an item (filling its children first for result items).
    void Expand(std::uint32_t key);
    void Select(std::uint32_t key) const;
    void SetBold(std::uint32_t key, bool bold) const;
    bool IsBold(std::uint32_t key) const;
    std::wstring Text(std::uint32_t key) const;
    int StateImage(std::uint32_t key) const;

private:
    struct ResultItem {
        const ResultNode* node = nullptr;
        bool filled = false;
        signed char hasChildren = -1;  ///< -1 until the control asks
    };

    HTREEITEM Insert(HTREEITEM parent, std::uint32_t key, std::string_view text, int stateImage, bool callback);
    void InsertLevel(HTREEITEM parent, const std::vector<TreeLevelItem>& items);
    bool HasChildren(ResultItem& item);

    HWND tree_ = nullptr;
    std::uint32_t nextKey_ = 1;
    int stateImages_ = 0;
    std::unordered_map<std::uint32_t, HTREEITEM> items_;
    std::unordered_map<std::uint32_t, ResultItem> results_;
    LevelSource source_;
};

}  // namespace kavlo::ui
