#include "ui/views/view_text.h"

#include <richedit.h>

#include "ui/resource.h"

namespace kavlo::ui {

/// The text views' font: "MS Sans Serif" at 8 points, the size the system's
/// own dialogs use for it.
constexpr int kTextFontTenths = 80;

view_Text::view_Text() : ContentView(IDD_VIEW_TEXT) {}

void view_Text::OnInitialUpdate() {
    SendMessageW(RichText(), EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    ContentView::OnInitialUpdate();
}

void view_Text::OnUpdate(int hint) {
    if (hint != kHintShowTitle || !title()) return;
    SetRichText(RichText(), title()->text);
    SetRichFont(RichText(), L"MS Sans Serif", kTextFontTenths);
    InvalidateRect(RichText(), nullptr, TRUE);
}

void view_Text::Layout(int width, int height) { MoveWindow(RichText(), 0, 0, width, height, TRUE); }

}  // namespace kavlo::ui
