#pragma once
// The base of every window and dialog of the program: binds the C++ object to
// its HWND when the window is created and forwards messages to HandleMessage.

#include <windows.h>

#include <string_view>

namespace kavlo::ui {

/// The module whose resources the program uses (the executable).
HINSTANCE ResourceModule();

/// A window of a class registered by this program.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    /// The object bound to a window of ours, or null.
    static Window* FromHandle(HWND hwnd);

protected:
    /// Registers `className` once (with this program's procedure) and creates the window.
    bool CreateWindowOf(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                        int width, int height, HWND parent, HMENU menuOrId, UINT classStyle = CS_DBLCLKS,
                        HBRUSH background = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), HICON icon = nullptr);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    /// Called after the window is gone (WM_NCDESTROY).
    virtual void OnDestroyed() {}

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

/// A dialog from a template: modal (RunModal) or modeless child (CreateModeless).
class Dialog {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog();

    /// Runs the dialog modally; returns the code given to EndDialog (-1 on failure).
    INT_PTR RunModal(HWND owner);
    /// Creates the dialog as a modeless window (a child when the template says so).
    bool CreateModeless(HWND parent);

    HWND hwnd() const { return hwnd_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    void SetItemText(int id, const wchar_t* text) const { SetDlgItemTextW(hwnd_, id, text); }
    static Dialog* FromHandle(HWND hwnd);
    /// The dialog procedure of a property page whose PROPSHEETPAGE lParam is its Dialog.
    static INT_PTR CALLBACK PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    /// WM_INITDIALOG; return TRUE to let the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    /// Every message; return TRUE when handled (the result in DWLP_MSGRESULT where one is needed).
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void EndModal(INT_PTR result) { EndDialog(hwnd_, result); }
    /// Sets the result of a message such as WM_NOTIFY and returns TRUE.
    INT_PTR Result(LRESULT result) {
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, result);
        return TRUE;
    }
    int templateId() const { return templateId_; }

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    int templateId_;
    HWND hwnd_ = nullptr;
    bool modeless_ = false;
};

/// Shows a message box with the program's title.
int MessageBoxText(HWND owner, const wchar_t* text, UINT flags = MB_OK | MB_ICONINFORMATION);

/// The program's title ("KAVLO").
const wchar_t* AppTitle();

/// A string of the string table.
std::wstring_view LoadStringView(UINT id);

}  // namespace kavlo::ui
