#include "ui/win/text_view.h"

#include <commdlg.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>

#include "present/navigation_text.h"
#include "ui/win/dpi.h"
#include "ui/win/text.h"
#include "ui/win/window.h"

namespace kavlo::ui {
namespace {

constexpr int kMargin = 3;
constexpr int kWheelLines = 3;
/// The longest stretch of a line that is drawn: longer lines are cut there.
constexpr std::size_t kDrawnLineLimit = 4096;

HWND g_findDialog = nullptr;
UINT g_findMessage = 0;

std::size_t WideLength(std::string_view bytes) {
    if (bytes.empty()) return 0;
    return static_cast<std::size_t>(
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0));
}

std::size_t ByteLength(std::wstring_view wide) {
    if (wide.empty()) return 0;
    return static_cast<std::size_t>(
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr));
}

char Folded(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

void TextView::RegisterClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSEXW cls{};
    cls.cbSize = sizeof cls;
    cls.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    cls.lpfnWndProc = &TextView::Procedure;
    cls.hInstance = ResourceModule();
    cls.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    cls.lpszClassName = kTextViewClass;
    registered = RegisterClassExW(&cls) != 0;
    g_findMessage = RegisterWindowMessageW(FINDMSGSTRINGW);
}

TextView* TextView::FromHandle(HWND hwnd) {
    wchar_t name[32] = {};
    if (!hwnd || !GetClassNameW(hwnd, name, 32) || wcscmp(name, kTextViewClass) != 0) return nullptr;
    return reinterpret_cast<TextView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

HWND TextView::FindDialog() { return g_findDialog; }

LRESULT CALLBACK TextView::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<TextView*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        self = new TextView;
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        if (g_findDialog && GetWindow(g_findDialog, GW_OWNER) == hwnd) DestroyWindow(g_findDialog);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete self;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

// --------------------------------------------------------------------- text

void TextView::SetText(std::string text) {
    text_ = std::move(text);
    lineStarts_.assign(1, 0);
    longestLine_ = 0;
    std::size_t longest = 0;
    for (const char *at = text_.data(), *end = text_.data() + text_.size(); at < end;) {
        const char* newline = static_cast<const char*>(std::memchr(at, '\n', static_cast<std::size_t>(end - at)));
        if (!newline) break;
        const std::size_t start = lineStarts_.back();
        const std::size_t next = static_cast<std::size_t>(newline - text_.data()) + 1;
        if (next - start > longest) {
            longest = next - start;
            longestLine_ = lineStarts_.size() - 1;
        }
        lineStarts_.push_back(next);
        at = newline + 1;
    }
    if (text_.size() - lineStarts_.back() > longest) longestLine_ = lineStarts_.size() - 1;
    if (lineStarts_.size() > 1 && lineStarts_.back() == text_.size()) lineStarts_.pop_back();
    topLine_ = 0;
    leftPixel_ = 0;
    anchor_ = caret_ = 0;
    UpdateFont();
    UpdateScrollBars();
    PlaceCaret();
    InvalidateRect(hwnd_, nullptr, TRUE);
}

std::size_t TextView::LineOf(std::size_t position) const {
    const auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), position);
    return static_cast<std::size_t>(after - lineStarts_.begin()) - 1;
}

std::size_t TextView::LineEnd(std::size_t line) const {
    std::size_t end = line + 1 < lineStarts_.size() ? lineStarts_[line + 1] : text_.size();
    while (end > lineStarts_[line] && (text_[end - 1] == '\n' || text_[end - 1] == '\r')) --end;
    return end;
}

std::wstring_view TextView::LineText(std::size_t line, std::wstring& buffer) const {
    const std::size_t start = lineStarts_[line];
    const std::size_t length = std::min(LineEnd(line) - start, kDrawnLineLimit);
    buffer = Widen(std::string_view(text_).substr(start, length));
    return buffer;
}

std::string TextView::SelectedOrAll() const {
    if (selectionStart() == selectionEnd()) return text_;
    return text_.substr(selectionStart(), selectionEnd() - selectionStart());
}

void TextView::SelectAll() {
    anchor_ = 0;
    caret_ = text_.size();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

bool TextView::Find(std::string_view what, bool matchCase, bool down) {
    if (what.empty() || what.size() > text_.size()) return false;
    auto equal = [&](char a, char b) { return matchCase ? a == b : Folded(a) == Folded(b); };
    std::size_t found = std::string::npos;
    if (down) {
        const auto from = text_.begin() + static_cast<std::ptrdiff_t>(selectionEnd());
        const auto at = std::search(from, text_.end(), what.begin(), what.end(), equal);
        if (at != text_.end()) found = static_cast<std::size_t>(at - text_.begin());
    } else {
        const auto to = text_.begin() + static_cast<std::ptrdiff_t>(selectionStart());
        const auto at = std::find_end(text_.begin(), to, what.begin(), what.end(), equal);
        if (at != to) found = static_cast<std::size_t>(at - text_.begin());
    }
    if (found == std::string::npos) return false;
    anchor_ = found;
    caret_ = found + what.size();
    EnsureCaretVisible();
    InvalidateRect(hwnd_, nullptr, FALSE);
    return true;
}

// ------------------------------------------------------------------- layout

void TextView::UpdateFont() {
    // "MS Sans Serif" at 8 points, the text views' font.
    const int height = -MulDiv(8, DpiOf(hwnd_), 72);
    font_.Reset(CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
    WindowDc dc(hwnd_);
    SelectedObject selected(dc.get(), font_.get());
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    lineHeight_ = std::max(1, static_cast<int>(metrics.tmHeight + metrics.tmExternalLeading));
    // Only the longest line is measured: lines of a long text are alike, and
    // measuring them all would cost what drawing only the visible ones saves.
    std::wstring buffer;
    const std::wstring_view longest = LineText(longestLine_, buffer);
    textWidth_ = TextWidth(dc.get(), longest.data(), static_cast<int>(longest.size())) + metrics.tmMaxCharWidth;
}

int TextView::TextWidth(HDC dc, const wchar_t* text, int length) const {
    if (length <= 0) return 0;
    return static_cast<int>(LOWORD(GetTabbedTextExtentW(dc, text, length, 0, nullptr)));
}

int TextView::VisibleLines() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    return std::max(1, static_cast<int>(client.bottom) / lineHeight_);
}

void TextView::UpdateScrollBars() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = static_cast<int>(std::min<std::size_t>(lineStarts_.size(), 0x7FFFFFFE)) - 1;
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = static_cast<int>(topLine_);
    SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
    info.nMax = textWidth_ + 2 * kMargin;
    info.nPage = static_cast<UINT>(std::max(0L, client.right));
    info.nPos = leftPixel_;
    SetScrollInfo(hwnd_, SB_HORZ, &info, TRUE);
}

void TextView::ScrollTo(std::ptrdiff_t line, int pixel) {
    const std::ptrdiff_t lastTop =
        std::max<std::ptrdiff_t>(0, static_cast<std::ptrdiff_t>(lineStarts_.size()) - VisibleLines());
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int lastLeft = std::max(0, textWidth_ + 2 * kMargin - static_cast<int>(client.right));
    const std::size_t top = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(line, 0, lastTop));
    const int left = std::clamp(pixel, 0, lastLeft);
    if (top == topLine_ && left == leftPixel_) return;
    topLine_ = top;
    leftPixel_ = left;
    UpdateScrollBars();
    PlaceCaret();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TextView::OnScroll(int bar, WORD request) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, bar, &info);
    const int page = static_cast<int>(info.nPage);
    const int step = bar == SB_VERT ? 1 : lineHeight_;
    int position = info.nPos;
    switch (request) {
        case SB_LINEUP: position -= step; break;
        case SB_LINEDOWN: position += step; break;
        case SB_PAGEUP: position -= std::max(1, page - step); break;
        case SB_PAGEDOWN: position += std::max(1, page - step); break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: position = info.nTrackPos; break;
        case SB_TOP: position = 0; break;
        case SB_BOTTOM: position = info.nMax; break;
        default: return;
    }
    if (bar == SB_VERT) {
        ScrollTo(position, leftPixel_);
    } else {
        ScrollTo(static_cast<std::ptrdiff_t>(topLine_), position);
    }
}

// ------------------------------------------------------------------ drawing

void TextView::Paint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd_, &paint);
    RECT client{};
    GetClientRect(hwnd_, &client);
    // Drawn off screen first, so that scrolling does not flicker.
    UniqueDc memory(CreateCompatibleDC(dc));
    UniqueBitmap canvas(CreateCompatibleBitmap(dc, std::max(1L, client.right), std::max(1L, client.bottom)));
    {
        SelectedObject bitmap(memory.get(), canvas.get());
        SelectedObject font(memory.get(), font_.get());
        FillRect(memory.get(), &client, GetSysColorBrush(COLOR_WINDOW));
        SetBkMode(memory.get(), OPAQUE);
        const bool focused = GetFocus() == hwnd_;
        std::wstring buffer;
        const std::size_t last = std::min(lineStarts_.size(), topLine_ + static_cast<std::size_t>(VisibleLines()) + 1);
        for (std::size_t line = topLine_; line < last; ++line) {
            const int y = static_cast<int>(line - topLine_) * lineHeight_;
            const std::wstring_view wide = LineText(line, buffer);
            const std::size_t start = lineStarts_[line];
            // The selected part of the line, in characters of the wide text.
            std::size_t from = 0;
            std::size_t to = 0;
            if (selectionEnd() > start && selectionStart() <= LineEnd(line)) {
                const std::size_t a = std::max(selectionStart(), start) - start;
                const std::size_t b = std::min(selectionEnd(), LineEnd(line)) - start;
                from = std::min(wide.size(), WideLength(std::string_view(text_).substr(start, a)));
                to = std::min(wide.size(), WideLength(std::string_view(text_).substr(start, b)));
            }
            int x = kMargin - leftPixel_;
            auto draw = [&](std::size_t begin, std::size_t end, bool selected) {
                if (end <= begin) return;
                SetTextColor(memory.get(), GetSysColor(selected ? (focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT)
                                                                : COLOR_WINDOWTEXT));
                SetBkColor(memory.get(),
                           GetSysColor(selected ? (focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE) : COLOR_WINDOW));
                const LONG extent = TabbedTextOutW(memory.get(), x, y, wide.data() + begin,
                                                   static_cast<int>(end - begin), 0, nullptr, kMargin - leftPixel_);
                x += LOWORD(extent);
            };
            draw(0, from, false);
            draw(from, to, true);
            draw(to, wide.size(), false);
        }
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
    }
    EndPaint(hwnd_, &paint);
}

// -------------------------------------------------------------------- caret

std::size_t TextView::HitTest(int x, int y) const {
    if (text_.empty()) return 0;
    const std::ptrdiff_t row = y < 0 ? -1 : y / lineHeight_;
    const std::size_t line = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(
        static_cast<std::ptrdiff_t>(topLine_) + row, 0, static_cast<std::ptrdiff_t>(lineStarts_.size()) - 1));
    std::wstring buffer;
    const std::wstring_view wide = LineText(line, buffer);
    WindowDc dc(hwnd_);
    SelectedObject font(dc.get(), font_.get());
    const int target = x - kMargin + leftPixel_;
    // The first character whose middle lies right of the point.
    std::size_t low = 0;
    std::size_t high = wide.size();
    while (low < high) {
        const std::size_t middle = (low + high) / 2;
        const int before = TextWidth(dc.get(), wide.data(), static_cast<int>(middle));
        const int after = TextWidth(dc.get(), wide.data(), static_cast<int>(middle + 1));
        if ((before + after) / 2 < target) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return lineStarts_[line] + ByteLength(wide.substr(0, low));
}

void TextView::PlaceCaret() {
    if (GetFocus() != hwnd_) return;
    const std::size_t line = LineOf(caret_);
    std::wstring buffer;
    const std::wstring_view wide = LineText(line, buffer);
    const std::size_t chars = std::min(
        wide.size(), WideLength(std::string_view(text_).substr(lineStarts_[line], caret_ - lineStarts_[line])));
    WindowDc dc(hwnd_);
    SelectedObject font(dc.get(), font_.get());
    const int x = kMargin - leftPixel_ + TextWidth(dc.get(), wide.data(), static_cast<int>(chars));
    const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(line) - static_cast<std::ptrdiff_t>(topLine_);
    SetCaretPos(x, static_cast<int>(std::clamp<std::ptrdiff_t>(row, -1, 100000)) * lineHeight_);
}

void TextView::EnsureCaretVisible() {
    const std::size_t line = LineOf(caret_);
    const std::size_t visible = static_cast<std::size_t>(VisibleLines());
    std::ptrdiff_t top = static_cast<std::ptrdiff_t>(topLine_);
    if (line < topLine_) top = static_cast<std::ptrdiff_t>(line);
    if (line >= topLine_ + visible) top = static_cast<std::ptrdiff_t>(line - visible + 1);
    ScrollTo(top, leftPixel_);
    PlaceCaret();
}

void TextView::MoveCaret(std::size_t position, bool extend) {
    caret_ = std::min(position, text_.size());
    if (!extend) anchor_ = caret_;
    EnsureCaretVisible();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void TextView::OnKey(WPARAM key) {
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const std::size_t line = LineOf(caret_);
    const std::size_t column = caret_ - lineStarts_[line];
    auto onLine = [&](std::ptrdiff_t target) {
        const std::size_t to = static_cast<std::size_t>(
            std::clamp<std::ptrdiff_t>(target, 0, static_cast<std::ptrdiff_t>(lineStarts_.size()) - 1));
        return std::min(lineStarts_[to] + column, LineEnd(to));
    };
    const std::ptrdiff_t page = std::max(1, VisibleLines() - 1);
    const std::ptrdiff_t current = static_cast<std::ptrdiff_t>(line);
    switch (key) {
        case VK_UP: MoveCaret(onLine(current - 1), shift); break;
        case VK_DOWN: MoveCaret(onLine(current + 1), shift); break;
        case VK_PRIOR:
            ScrollTo(static_cast<std::ptrdiff_t>(topLine_) - page, leftPixel_);
            MoveCaret(onLine(current - page), shift);
            break;
        case VK_NEXT:
            ScrollTo(static_cast<std::ptrdiff_t>(topLine_) + page, leftPixel_);
            MoveCaret(onLine(current + page), shift);
            break;
        case VK_HOME: MoveCaret(control ? 0 : lineStarts_[line], shift); break;
        case VK_END: MoveCaret(control ? text_.size() : LineEnd(line), shift); break;
        case VK_LEFT: MoveCaret(caret_ > 0 ? caret_ - 1 : 0, shift); break;
        case VK_RIGHT: MoveCaret(caret_ + 1, shift); break;
        case 'A':
            if (control) SelectAll();
            break;
        case 'F':
            if (control) OpenFindDialog();
            break;
        case VK_F3:
            if (!findText_.empty()) Find(Narrow(findText_), false, !shift);
            break;
        default: break;
    }
}

void TextView::OpenFindDialog() {
    if (g_findDialog) {
        SetFocus(g_findDialog);
        return;
    }
    findBuffer_.assign(256, L'\0');
    findText_.copy(findBuffer_.data(), std::min(findText_.size(), findBuffer_.size() - 1));
    find_ = {};
    find_.lStructSize = sizeof find_;
    find_.hwndOwner = hwnd_;
    find_.Flags = FR_DOWN | FR_HIDEWHOLEWORD;
    find_.lpstrFindWhat = findBuffer_.data();
    find_.wFindWhatLen = static_cast<WORD>(findBuffer_.size());
    g_findDialog = FindTextW(&find_);
}

// ----------------------------------------------------------------- messages

LRESULT TextView::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (g_findMessage && message == g_findMessage) {
        const auto* request = reinterpret_cast<const FINDREPLACEW*>(lParam);
        if (request->Flags & FR_DIALOGTERM) {
            g_findDialog = nullptr;
        } else if (request->Flags & FR_FINDNEXT) {
            findText_ = request->lpstrFindWhat;
            if (!Find(Narrow(findText_), (request->Flags & FR_MATCHCASE) != 0, (request->Flags & FR_DOWN) != 0)) {
                MessageBeep(MB_ICONASTERISK);
            }
        }
        return 0;
    }
    switch (message) {
        case WM_CREATE:
            UpdateFont();
            UpdateScrollBars();
            return 0;
        case WM_PAINT: Paint(); return 0;
        case WM_ERASEBKGND: return 1;  // Paint covers everything
        case WM_SIZE:
            UpdateScrollBars();
            ScrollTo(static_cast<std::ptrdiff_t>(topLine_), leftPixel_);
            return 0;
        case WM_VSCROLL: OnScroll(SB_VERT, LOWORD(wParam)); return 0;
        case WM_HSCROLL: OnScroll(SB_HORZ, LOWORD(wParam)); return 0;
        case WM_MOUSEWHEEL:
            ScrollTo(static_cast<std::ptrdiff_t>(topLine_) - GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA * kWheelLines,
                     leftPixel_);
            return 0;
        case WM_SETFOCUS:
            CreateCaret(hwnd_, nullptr, 1, lineHeight_);
            PlaceCaret();
            ShowCaret(hwnd_);
            InvalidateRect(hwnd_, nullptr, FALSE);
            return 0;
        case WM_KILLFOCUS:
            DestroyCaret();
            InvalidateRect(hwnd_, nullptr, FALSE);
            return 0;
        case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case WM_KEYDOWN: OnKey(wParam); return 0;
        case WM_LBUTTONDOWN:
            SetFocus(hwnd_);
            SetCapture(hwnd_);
            dragging_ = true;
            MoveCaret(HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), (wParam & MK_SHIFT) != 0);
            return 0;
        case WM_LBUTTONDBLCLK:
            SetFocus(hwnd_);
            anchor_ = lineStarts_[LineOf(caret_)];
            MoveCaret(LineEnd(LineOf(caret_)), true);
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) MoveCaret(HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), true);
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (dragging_) {
                dragging_ = false;
                if (message == WM_LBUTTONUP) ReleaseCapture();
            }
            return 0;
        default: break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace kavlo::ui
