#pragma once
// TextPane: the title's text in a rich edit box.

#include "ui/views/content_view.h"

namespace kavlo::ui {

class TextPane : public ContentView {
public:
    TextPane();
    const char* RuntimeClass() const override { return "TextPane"; }
    void OnInitialUpdate() override;
    void OnUpdate(int hint) override;
    HWND RichText() const override { return Item(1001); }

protected:
    void Layout(int width, int height) override;
};

}  // namespace kavlo::ui
