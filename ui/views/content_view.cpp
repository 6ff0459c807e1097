#include "ui/views/content_view.h"

#include <richedit.h>

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

bool ContentView::CopyText() const {
    HWND edit = RichText();
    if (!edit) return false;
    return PutTextOnClipboard(hwnd(), ToClipboardText(RichTextOf(edit)));
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
    const LRESULT got = SendMessageW(edit, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&how),
                                     reinterpret_cast<LPARAM>(wide.data()));
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
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

}  // namespace kavlo::ui
