#pragma once
// TreePane: a tree title's result tree with its state images, a level at a time.

#include "ui/views/content_view.h"
#include "ui/win/handles.h"
#include "ui/win/tree_control.h"

namespace kavlo::ui {

class TreePane : public ContentView {
public:
    TreePane();
    const char* RuntimeClass() const override { return "TreePane"; }
    void OnInitialUpdate() override;
    void OnUpdate(int hint) override;
    TreeControl& tree() { return tree_; }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Layout(int width, int height) override;

private:
    TreeControl tree_;
    UniqueImageList stateImages_;
};

}  // namespace kavlo::ui
