#pragma once
// ListPane: a list title's rows under the columns of its kind parameter.

#include "ui/views/content_view.h"
#include "ui/views/list_control.h"

namespace kavlo::ui {

class ListPane : public ContentView {
public:
    ListPane();
    const char* RuntimeClass() const override { return "ListPane"; }
    void OnInitialUpdate() override;
    void OnUpdate(int hint) override;
    RowList& list() { return list_; }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Layout(int width, int height) override;

private:
    RowList list_;
};

}  // namespace kavlo::ui
