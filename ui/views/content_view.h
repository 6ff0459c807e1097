#pragma once
// The views of the right pane: each is a child form made from a small dialog
// template whose controls are stretched over the view. A view borrows the
// title it shows; the title belongs to the catalog or to the left view.

#include <string>

#include "engine/records.h"
#include "ui/win/text_view.h"
#include "ui/win/window.h"

namespace kavlo::ui {

/// The update hint on which views rebuild their controls from their title.
inline constexpr int kHintShowTitle = 1;

class ContentView : public Dialog {
public:
    explicit ContentView(int templateId) : Dialog(templateId) {}

    /// The view's runtime class name ("ListPane", ...).
    virtual const char* RuntimeClass() const = 0;

    /// Remembers the title to show; the owner then updates all views.
    void ShowTitle(TitleRecord* title) { title_ = title; }
    TitleRecord* title() const { return title_; }

    /// First update after creation: stretches the controls.
    virtual void OnInitialUpdate();
    /// Rebuilds the controls from the title on hint kHintShowTitle.
    virtual void OnUpdate(int hint) { (void)hint; }

    /// The text that Copy and Print use; null when the view has none.
    virtual TextView* TextControl() const { return nullptr; }
    /// Copies the view's selected text (all of it when nothing is selected) to
    /// the clipboard with "\r\n" line ends.
    bool CopyText() const;

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    /// Places the controls over a client area of the given size.
    virtual void Layout(int width, int height) = 0;
    bool initialized() const { return initialized_; }
    /// Shows the hint that the title gathered nothing over the view (or hides it).
    void ShowEmptyHint(bool show);
    void LayoutEmptyHint(int width, int height);

private:
    TitleRecord* title_ = nullptr;
    HWND emptyHint_ = nullptr;
    bool initialized_ = false;
};

/// Puts text on the clipboard as plain text; false when the clipboard is busy.
bool PutTextOnClipboard(HWND owner, const std::string& text);

/// Sets a rich edit control's text in the ANSI code page, as plain text.
void SetRichText(HWND edit, const std::string& text);
/// The whole text of a rich edit control.
std::string RichTextOf(HWND edit);
/// Sets the rich edit control's font (face, size in tenths of a point).
void SetRichFont(HWND edit, const wchar_t* face, int tenthsOfPoint, COLORREF colour = RGB(0, 0, 0));
/// Shows a text in a rich edit control with the font given first (formatting
/// the text once, not again afterwards), scrolled to its top-left corner.
void SetRichTextAtTop(HWND edit, const std::string& text, const wchar_t* face, int tenthsOfPoint);

/// The text shown over a view whose title gathered nothing.
inline constexpr const wchar_t* kEmptyTitleHint = L"No information was gathered for this title.";

}  // namespace kavlo::ui
