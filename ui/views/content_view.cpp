#include "ui/views/content_view.h"

#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "present/navigation_text.h"
#include "ui/win/text.h"

namespace kavlo::ui {

void ContentView::OnInitialUpdate() {
    initialized_ = true;
    RECT client{};
    GetClientRect(hwnd(), &client);
    Layout(client.right, client.bottom);
}

INT_PTR ContentView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SIZE && initialized_) {
        Layout(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

void ContentView::ShowEmptyHint(bool show) {
    if (show && !emptyHint_) {
        emptyHint_ = CreateWindowExW(0, L"STATIC", kEmptyTitleHint, WS_CHILD | SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0,
                                     hwnd(), nullptr, ResourceModule(), nullptr);
        SendMessageW(emptyHint_, WM_SETFONT, SendMessageW(hwnd(), WM_GETFONT, 0, 0), FALSE);
        RECT client{};
        GetClientRect(hwnd(), &client);
        LayoutEmptyHint(client.right, client.bottom);
    }
    if (!emptyHint_) return;
    // The hint takes the place of the view's controls, which have nothing to show.
    for (HWND child = GetWindow(hwnd(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (child != emptyHint_) ShowWindow(child, show ? SW_HIDE : SW_SHOW);
    }
    ShowWindow(emptyHint_, show ? SW_SHOW : SW_HIDE);
}

void ContentView::LayoutEmptyHint(int width, int height) {
    if (emptyHint_) MoveWindow(emptyHint_, 8, 8, std::max(0, width - 16), std::max(0, std::min(height - 16, 40)), TRUE);
}

bool ContentView::CopyText() const {
    TextView* text = TextControl();
    if (!text) return false;
    return PutTextOnClipboard(hwnd(), ToClipboardText(text->SelectedOrAll()));
}

bool PutTextOnClipboard(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    bool placed = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, text.size() + 1)) {
        if (void* bytes = GlobalLock(memory)) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            placed = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        if (!placed) GlobalFree(memory);  // the clipboard did not take it
    }
    CloseClipboard();
    return placed;
}

void SetRichText(HWND edit, const std::string& text) {
    const std::wstring wide = Widen(text);
    SETTEXTEX how{};
    how.flags = ST_DEFAULT;
    how.codepage = 1200;  // UTF-16
    SendMessageW(edit, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(wide.c_str()));
}

void SetRichTextAtTop(HWND edit, const std::string& text, const wchar_t* face, int tenthsOfPoint) {
    SendMessageW(edit, WM_SETREDRAW, FALSE, 0);
    // Formatting an empty control is free; formatting the text after it is set
    // costs more than setting it.
    SetWindowTextW(edit, L"");
    SetRichFont(edit, face, tenthsOfPoint);
    SetRichText(edit, text);
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, WM_VSCROLL, SB_TOP, 0);
    SendMessageW(edit, WM_HSCROLL, SB_LEFT, 0);
    SendMessageW(edit, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(edit, nullptr, TRUE);
}

std::string RichTextOf(HWND edit) {
    GETTEXTLENGTHEX lengthHow{};
    lengthHow.flags = GTL_DEFAULT | GTL_NUMCHARS;
    lengthHow.codepage = 1200;
    const LRESULT length = SendMessageW(edit, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthHow), 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length) + 1, L'\0');
    GETTEXTEX how{};
    how.cb = static_cast<DWORD>(wide.size() * sizeof(wchar_t));
    how.flags = GT_DEFAULT;
    how.codepage = 1200;
    const LRESULT got =
        SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return Narrow(wide);
}

void SetRichFont(HWND edit, const wchar_t* face, int tenthsOfPoint, COLORREF colour) {
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_COLOR | CFM_BOLD | CFM_WEIGHT;
    format.yHeight = tenthsOfPoint * 2;  // twips
    format.crTextColor = colour;
    format.wWeight = FW_NORMAL;
    wcsncpy(format.szFaceName, face, LF_FACESIZE - 1);
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

}  // namespace kavlo::ui
