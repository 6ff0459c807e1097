#include "ui/views/text_pane.h"

#include "ui/resource.h"

namespace kavlo::ui {

TextPane::TextPane() : ContentView(IDD_VIEW_TEXT) { TextView::RegisterClass(); }

void TextPane::OnInitialUpdate() { ContentView::OnInitialUpdate(); }

void TextPane::OnUpdate(int hint) {
    if (hint != kHintShowTitle || !title()) return;
    // A copy: the view draws from its own text, whatever becomes of the title.
    TextControl()->SetText(title()->text);
    ShowEmptyHint(title()->text.empty());
}

void TextPane::Layout(int width, int height) {
    MoveWindow(Item(IDC_RICHTEXT), 0, 0, width, height, TRUE);
    LayoutEmptyHint(width, height);
}

}  // namespace kavlo::ui
