#pragma once
// view_Text: the title's text in a rich edit box.

#include "ui/views/content_view.h"

namespace kavlo::ui {

class view_Text : public ContentView {
public:
    view_Text();
    const char* RuntimeClass() const override { return "view_Text"; }
    void OnInitialUpdate() override;
    void OnUpdate(int hint) override;
    HWND RichText() const override { return Item(1001); }

protected:
    void Layout(int width, int height) override;
};

}  // namespace kavlo::ui
