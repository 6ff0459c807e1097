#pragma once
// view_Tree: a tree title's result tree with its state images.

#include "ui/views/content_view.h"
#include "ui/win/handles.h"
#include "ui/win/tree_control.h"

namespace kavlo::ui {

class view_Tree : public ContentView {
public:
    view_Tree();
    const char* RuntimeClass() const override { return "view_Tree"; }
    void OnInitialUpdate() override;
    void OnUpdate(int hint) override;
    TreeControl& tree() { return tree_; }

protected:
    void Layout(int width, int height) override;

private:
    TreeControl tree_;
    UniqueImageList stateImages_;
};

}  // namespace kavlo::ui
