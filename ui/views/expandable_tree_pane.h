#pragma once
// ExpandableTreePane and ExpandableTreeTextPane: the nodes of an expandable tree ("[D] " and
// "{D} " titles) in a tree; the selected node's entries in a list or as text.

#include "ui/views/content_view.h"
#include "ui/views/list_control.h"
#include "ui/win/handles.h"
#include "ui/win/tree_control.h"

namespace kavlo::ui {

class ExpandableTreeView : public ContentView {
public:
    using ContentView::ContentView;
    void OnInitialUpdate() override;
    void OnUpdate(int hint) override;
    TreeControl& tree() { return tree_; }
    /// The width of the tree beside the entries (the bar between them drags it).
    int TreeWidth() const;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Layout(int width, int height) override;
    /// Shows the entries of the node with this item key.
    virtual void ShowEntries(const ResultNode* node) = 0;
    virtual HWND EntryPane() const = 0;
    virtual void PrepareEntryPane() {}
    /// Sets the entry pane up for the title about to be shown.
    virtual void ResetEntryPane() {}

private:
    TreeControl tree_;
    UniqueImageList stateImages_;
    static constexpr int kSplitGap = 4;
    int treeWidth_ = -1;  ///< -1 until the bar is dragged
    bool dragging_ = false;
};

class ExpandableTreePane : public ExpandableTreeView {
public:
    ExpandableTreePane();
    const char* RuntimeClass() const override { return "ExpandableTreePane"; }
    void OnInitialUpdate() override;
    RowList& list() { return list_; }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ShowEntries(const ResultNode* node) override;
    HWND EntryPane() const override { return Item(1000); }
    void PrepareEntryPane() override;
    void ResetEntryPane() override;

private:
    RowList list_;
};

class ExpandableTreeTextPane : public ExpandableTreeView {
public:
    ExpandableTreeTextPane();
    const char* RuntimeClass() const override { return "ExpandableTreeTextPane"; }
    void OnInitialUpdate() override;
    TextView* TextControl() const override { return TextView::FromHandle(Item(1001)); }

protected:
    void ShowEntries(const ResultNode* node) override;
    HWND EntryPane() const override { return Item(1001); }
};

}  // namespace kavlo::ui
