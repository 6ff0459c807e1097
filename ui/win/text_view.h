#pragma once
// TextView: a read-only text window that draws only the lines in sight, so
// that a text of any size shows at once and costs little more memory than the
// text itself (one offset per line). It scrolls with the bars, the wheel and
// the keyboard, selects with the mouse and Shift, copies as "\r\n" text and
// finds text (Ctrl+F, F3).

#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ui/win/handles.h"

namespace kavlo::ui {

/// The window class of TextView controls (dialog templates name it).
inline constexpr const wchar_t* kTextViewClass = L"KavloTextView";

class TextView {
public:
    /// Registers the window class once; dialogs that hold a TextView need it first.
    static void RegisterClass();
    /// The TextView of a window of the class (null for any other window).
    static TextView* FromHandle(HWND hwnd);
    /// The open Find dialog of any TextView (the message loop hands it its keys).
    static HWND FindDialog();

    HWND hwnd() const { return hwnd_; }
    void SetText(std::string text);
    const std::string& text() const { return text_; }
    /// The selected text, or the whole text when nothing is selected.
    std::string SelectedOrAll() const;
    /// Selects the next occurrence after the caret (case-insensitive unless
    /// `matchCase`); false when there is none.
    bool Find(std::string_view what, bool matchCase = false, bool down = true);
    void SelectAll();

    std::size_t LineCount() const { return lineStarts_.size(); }
    std::size_t FirstVisibleLine() const { return topLine_; }
    int HorizontalOffset() const { return leftPixel_; }
    std::size_t selectionStart() const { return std::min(anchor_, caret_); }
    std::size_t selectionEnd() const { return std::max(anchor_, caret_); }

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();
    void UpdateFont();
    void UpdateScrollBars();
    void ScrollTo(std::ptrdiff_t line, int pixel);
    void OnScroll(int bar, WORD request);
    void OnKey(WPARAM key);
    void MoveCaret(std::size_t position, bool extend);
    void EnsureCaretVisible();
    void PlaceCaret();
    std::size_t HitTest(int x, int y) const;
    std::wstring_view LineText(std::size_t line, std::wstring& buffer) const;
    std::size_t LineOf(std::size_t position) const;
    std::size_t LineEnd(std::size_t line) const;
    int TextWidth(HDC dc, const wchar_t* text, int length) const;
    int VisibleLines() const;
    void OpenFindDialog();

    HWND hwnd_ = nullptr;
    std::string text_;
    std::vector<std::size_t> lineStarts_{0};
    std::size_t longestLine_ = 0;
    UniqueFont font_;
    int lineHeight_ = 16;
    int textWidth_ = 0;  ///< the widest line in pixels (estimated from the longest line)
    std::size_t topLine_ = 0;
    int leftPixel_ = 0;
    std::size_t anchor_ = 0;
    std::size_t caret_ = 0;
    bool dragging_ = false;
    std::wstring findText_;
    std::vector<wchar_t> findBuffer_;
    FINDREPLACEW find_{};
};

}  // namespace kavlo::ui
