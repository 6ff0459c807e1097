#include "ui/win/window.h"

#include <prsht.h>

#include <set>
#include <string>
#include <string_view>

namespace kavlo::ui {

HINSTANCE ResourceModule() { return GetModuleHandleW(nullptr); }

const wchar_t* AppTitle() { return L"KAVLO"; }

int MessageBoxText(HWND owner, const wchar_t* text, UINT flags) { return MessageBoxW(owner, text, AppTitle(), flags); }

std::wstring_view LoadStringView(UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(ResourceModule(), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring_view(text, static_cast<std::size_t>(length)) : std::wstring_view();
}

// ------------------------------------------------------------------ Window

Window::~Window() {
    if (hwnd_) {
        // The window outlives its object only by mistake; unbind and destroy it.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        DestroyWindow(hwnd);
    }
}

Window* Window::FromHandle(HWND hwnd) { return reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

bool Window::CreateWindowOf(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                            int width, int height, HWND parent, HMENU menuOrId, UINT classStyle, HBRUSH background,
                            HICON icon) {
    static std::set<std::wstring> registered;
    if (registered.insert(className).second) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = classStyle;
        wc.lpfnWndProc = &Window::Procedure;
        wc.hInstance = ResourceModule();
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.hIconSm = icon;
        wc.lpszClassName = className;
        RegisterClassExW(&wc);
    }
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId, ResourceModule(),
                           this) != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = FromHandle(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
    }
    return result;
}

// ------------------------------------------------------------------ Dialog

Dialog::~Dialog() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, DWLP_USER, 0);
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        if (modeless_) DestroyWindow(hwnd);
    }
}

Dialog* Dialog::FromHandle(HWND hwnd) { return reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER)); }

INT_PTR Dialog::RunModal(HWND owner) {
    modeless_ = false;
    return DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(templateId_), owner, &Dialog::Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND parent) {
    modeless_ = true;
    return CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(templateId_), parent, &Dialog::Procedure,
                              reinterpret_cast<LPARAM>(this)) != nullptr;
}

INT_PTR Dialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && !modeless_ && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndModal(LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return self->OnInitDialog();
    }
    self = FromHandle(hwnd);
    if (!self) return FALSE;
    const INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

INT_PTR CALLBACK Dialog::PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        auto* self = reinterpret_cast<Dialog*>(page->lParam);
        self->hwnd_ = hwnd;
        self->modeless_ = true;  // the sheet ends, not the page
        SetWindowLongPtrW(hwnd, DWLP_USER, page->lParam);
        return self->OnInitDialog();
    }
    return Procedure(hwnd, message, wParam, lParam);
}

}  // namespace kavlo::ui
