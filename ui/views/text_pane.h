#pragma once
// TextPane: the title's text in a rich edit box.

#include "ui/resource.h"
#include "ui/views/content_view.h"

namespace kavlo::ui {

class TextPane : public ContentView {
public:
    TextPane();
    const char* RuntimeClass() const override { return "TextPane"; }
    void OnInitialUpdate() override;
    void OnUpdate(int hint) override;
    TextView* TextControl() const override { return TextView::FromHandle(Item(IDC_RICHTEXT)); }

protected:
    void Layout(int width, int height) override;
};

}  // namespace kavlo::ui
