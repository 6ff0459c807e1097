#pragma once
// A tree control reached through 32-bit item keys of our own. Item handles are
// pointers on 64-bit Windows and do not fit the 32-bit keys that records and
// reports store, so each item carries its key as item data and the control
// keeps the way back from key to handle.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "engine/tree_fill.h"

namespace kavlo::ui {

class TreeControl : public TreeSink {
public:
    /// The key that stands for the control's invisible root (insert at top level).
    static constexpr std::uint32_t kRootKey = 0;

    void Attach(HWND tree) { tree_ = tree; }
    HWND hwnd() const { return tree_; }

    /// Inserts an item as the last child of `parent`; stateImage <= 0 shows none.
    std::uint32_t InsertItem(std::uint32_t parent, std::string_view text, int stateImage) override;
    void SortChildren(std::uint32_t parent) override;
    /// Inserts an item with a key chosen by the caller (the navigation model's).
    bool InsertKeyed(std::uint32_t parent, std::uint32_t key, std::string_view text);

    /// Removes every item.
    void Clear();
    HTREEITEM Handle(std::uint32_t key) const;
    /// The key of an item handle (0 for none).
    std::uint32_t KeyOf(HTREEITEM item) const;
    std::uint32_t SelectedKey() const { return KeyOf(TreeView_GetSelection(tree_)); }
    /// The number of state images the control's state list holds (0 without a list).
    void SetStateImageCount(int count) { stateImages_ = count; }

    void Expand(std::uint32_t key) const;
    void Select(std::uint32_t key) const;
    void SetBold(std::uint32_t key, bool bold) const;
    bool IsBold(std::uint32_t key) const;
    std::wstring Text(std::uint32_t key) const;
    int StateImage(std::uint32_t key) const;

private:
    HTREEITEM Insert(std::uint32_t parent, std::uint32_t key, std::string_view text, int stateImage);

    HWND tree_ = nullptr;
    std::uint32_t nextKey_ = 1;
    int stateImages_ = 16;
    std::unordered_map<std::uint32_t, HTREEITEM> items_;
};

}  // namespace kavlo::ui
