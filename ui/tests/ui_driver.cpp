#include "ui/tests/ui_driver.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <filesystem>
#include <map>

#include "ui/win/text.h"

namespace kavlo::ui::testing {

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return done();
        MSG msg;
        bool any = false;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            if (done()) return true;
        }
        if (!any) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

void PumpFor(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    PumpUntil([&] { return std::chrono::steady_clock::now() > end; }, milliseconds + 1000);
}

void PostClick(HWND window, const RECT& r) {
    const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(window, WM_LBUTTONUP, 0, at);
}

void ClickTreeItem(HWND tree, HTREEITEM item) {
    TreeView_EnsureVisible(tree, item);
    RECT r{};
    TreeView_GetItemRect(tree, item, &r, TRUE);
    PostClick(tree, r);
}

void ClickColumnHeader(HWND list, int column) {
    HWND header = ListView_GetHeader(list);
    RECT r{};
    Header_GetItemRect(header, column, &r);
    PostClick(header, r);
}

std::wstring TreeItemText(HWND tree, HTREEITEM item) {
    wchar_t buffer[1024] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = static_cast<int>(std::size(buffer));
    TreeView_GetItem(tree, &data);
    return buffer;
}

int TreeStateImage(HWND tree, HTREEITEM item) {
    return static_cast<int>((TreeView_GetItemState(tree, item, TVIS_STATEIMAGEMASK) & TVIS_STATEIMAGEMASK) >> 12);
}

HTREEITEM FindChild(HWND tree, HTREEITEM parent, const std::wstring& text) {
    HTREEITEM child = parent == TVI_ROOT ? TreeView_GetRoot(tree) : TreeView_GetChild(tree, parent);
    for (; child; child = TreeView_GetNextSibling(tree, child)) {
        if (TreeItemText(tree, child) == text) return child;
    }
    return nullptr;
}

HTREEITEM FindSampleTitle(HWND tree, const std::wstring& script, const std::wstring& title) {
    HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree));
    while (item && TreeItemText(tree, item).rfind(script, 0) != 0) item = TreeView_GetNextSibling(tree, item);
    if (!item || title.empty()) return item;
    TreeView_Expand(tree, item, TVE_EXPAND);
    return FindChild(tree, item, title);
}

std::wstring ListCell(HWND list, int row, int column) {
    wchar_t buffer[2048] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = static_cast<int>(std::size(buffer));
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

// ------------------------------------------------------------------ PNG

bool SaveWindowPng(HWND window, const std::string& path) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(300);
    RECT r{};
    GetWindowRect(window, &r);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    bool saved = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    if (saved) {
        // The class id under which GDI+ lists its PNG encoder.
        const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
        saved = Gdiplus::Bitmap(bitmap, nullptr).Save(Widen(path).c_str(), &png, nullptr) == Gdiplus::Ok;
        Gdiplus::GdiplusShutdown(token);
    }
    DeleteObject(bitmap);
    return saved;
}

// ---------------------------------------------------------------- drivers

namespace {
std::map<UINT_PTR, TimerDriver*>& Drivers() {
    static std::map<UINT_PTR, TimerDriver*> drivers;
    return drivers;
}
}  // namespace

TimerDriver::TimerDriver(std::function<bool()> step) : step_(std::move(step)) {
    id_ = SetTimer(nullptr, 0, 100, &TimerDriver::Tick);
    Drivers()[id_] = this;
}

TimerDriver::~TimerDriver() {
    KillTimer(nullptr, id_);
    Drivers().erase(id_);
}

void CALLBACK TimerDriver::Tick(HWND, UINT, UINT_PTR id, DWORD) {
    const auto found = Drivers().find(id);
    if (found == Drivers().end()) return;
    TimerDriver* self = found->second;
    // A step may open a modal loop (a message box); its ticks must not re-enter.
    if (self->done_ || self->inStep_) return;
    self->inStep_ = true;
    self->done_ = self->step_();
    self->inStep_ = false;
    if (self->done_) KillTimer(nullptr, id);
}

std::function<bool()> CloseMessageBoxReading(std::wstring& message) {
    return [&message] {
        HWND box = FindWindowW(L"#32770", L"KAVLO");
        if (!box) return false;
        message = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
    };
}

// ---------------------------------------------------------------- options

AppOptions SampleOptions(const std::wstring& commandLine) {
    SetCurrentDirectoryW(Widen(std::string(KAVLO_TEST_SOURCE_DIR) + "/scripts").c_str());
    AppOptions options;
    options.machineFolder = std::string(KAVLO_TEST_SOURCE_DIR) + "/samples/office7";
    options.commandLine = commandLine;
    options.showWizard = false;
    options.registerServer = false;
    return options;
}

std::string FreshTempFolder(const std::string& name) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kavlo-ui-" + name + "-" + std::to_string(GetCurrentProcessId()));
    // Leftovers of an earlier run with the same process id go.
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return Narrow(folder.wstring());
}

}  // namespace kavlo::ui::testing
