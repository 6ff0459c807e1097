#include "ui/views/text_pane.h"

#include <richedit.h>

#include "ui/resource.h"

namespace kavlo::ui {

/// The text views' font: "MS Sans Serif" at 8 points, the size the system's
/// own dialogs use for it.
constexpr int kTextFontTenths = 80;

TextPane::TextPane() : ContentView(IDD_VIEW_TEXT) {}

void TextPane::OnInitialUpdate() {
    SendMessageW(RichText(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    ContentView::OnInitialUpdate();
}

void TextPane::OnUpdate(int hint) {
    if (hint != kHintShowTitle || !title()) return;
    SetRichTextAtTop(RichText(), title()->text, L"MS Sans Serif", kTextFontTenths);
    ShowEmptyHint(title()->text.empty());
}

void TextPane::Layout(int width, int height) {
    MoveWindow(RichText(), 0, 0, width, height, TRUE);
    LayoutEmptyHint(width, height);
}

}  // namespace kavlo::ui
