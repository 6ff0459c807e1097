#include "ui/frame/splitter.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/win/dpi.h"

namespace kavlo::ui {
namespace {

int Scaled(HWND hwnd, int pixelsAt96) { return Scale(hwnd, pixelsAt96); }

}  // namespace

bool CSplitter::Create(HWND parent, int id) {
    return CreateWindowOf(L"KavloSplitter", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CS_DBLCLKS,
                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

void CSplitter::SetLeftPane(HWND left) {
    left_ = left;
    Layout();
}

int CSplitter::BarWidth() const { return Scaled(hwnd(), 5); }

void CSplitter::Install(std::unique_ptr<ContentView> view) {
    HWND focus = GetFocus();
    const bool wasActive = right_ && focus && (focus == right_->hwnd() || IsChild(right_->hwnd(), focus));
    right_.reset();  // destroys the old view's window; the document stays
    right_ = std::move(view);
    right_->CreateModeless(hwnd());
    Layout();
    ShowWindow(right_->hwnd(), SW_SHOW);
    right_->OnInitialUpdate();
    if (wasActive) SetFocus(right_->hwnd());
    UpdateWindow(right_->hwnd());
}

void CSplitter::Layout() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    const int width = client.right;
    const int height = client.bottom;
    if (leftWidth_ < 0 && width > 0) {
        // Column 0 starts wide enough for the labels of the navigation tree
        // (at most half the frame), else at a quarter of the frame.
        const int minimum = Scaled(hwnd(), 100);
        leftWidth_ = preferredLeft_ > 0 ? std::clamp(preferredLeft_, minimum, std::max(minimum, width / 2))
                                        : std::max(minimum, width / 4);
    }
    const int left = std::clamp(leftWidth_, 0, std::max(0, width - BarWidth()));
    if (left_) MoveWindow(left_, 0, 0, left, height, TRUE);
    if (right_ && right_->hwnd()) {
        MoveWindow(right_->hwnd(), left + BarWidth(), 0, std::max(0, width - left - BarWidth()), height, TRUE);
    }
}

void CSplitter::SetLeftWidth(int width) {
    preferredLeft_ = width;
    leftWidth_ = -1;  // chosen by the next layout that knows the window's width
    Layout();
}

LRESULT CSplitter::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: Layout(); return 0;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_SIZEWE)));
                return TRUE;
            }
            break;
        case WM_LBUTTONDOWN:
            dragging_ = true;
            SetCapture(hwnd());
            return 0;
        case WM_MOUSEMOVE:
            if (dragging_) {
                leftWidth_ = std::max(0, GET_X_LPARAM(lParam) - BarWidth() / 2);
                Layout();
            }
            return 0;
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
            if (dragging_) {
                dragging_ = false;
                if (message == WM_LBUTTONUP) ReleaseCapture();
            }
            return 0;
        case WM_NOTIFY:
        case WM_COMMAND:
            // Notifications of the panes go to the frame, which routes commands.
            return SendMessageW(GetParent(hwnd()), message, wParam, lParam);
        default: break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace kavlo::ui
