#include "ui/tests/ui_driver.h"

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <vector>

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

namespace {

void PutU32(std::vector<unsigned char>& out, std::uint32_t v) {
    out.push_back(static_cast<unsigned char>(v >> 24));
    out.push_back(static_cast<unsigned char>(v >> 16));
    out.push_back(static_cast<unsigned char>(v >> 8));
    out.push_back(static_cast<unsigned char>(v));
}

void PutChunk(std::vector<unsigned char>& out, const char* type, const std::vector<unsigned char>& data) {
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0, out.data() + start, static_cast<uInt>(out.size() - start));
    PutU32(out, static_cast<std::uint32_t>(crc));
}

bool WritePng(const std::string& path, int width, int height, const std::vector<std::uint32_t>& bgra) {
    std::vector<unsigned char> raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + static_cast<std::size_t>(width) * 3));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p =
                bgra[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
            raw.push_back(static_cast<unsigned char>(p >> 16));
            raw.push_back(static_cast<unsigned char>(p >> 8));
            raw.push_back(static_cast<unsigned char>(p));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return false;
    packed.resize(packedSize);

    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<unsigned char> header;
    PutU32(header, static_cast<std::uint32_t>(width));
    PutU32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    std::FILE* file = _wfopen(Widen(path).c_str(), L"wb");
    if (!file) return false;
    const bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace

bool SaveWindowPng(HWND window, const std::string& path) {
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    PumpFor(300);
    RECT r{};
    GetWindowRect(window, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) return false;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    std::vector<std::uint32_t> pixels(
        static_cast<const std::uint32_t*>(bits),
        static_cast<const std::uint32_t*>(bits) + static_cast<std::size_t>(width) * height);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return WritePng(path, width, height, pixels);
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

// ---------------------------------------------------------------- options

std::string ScriptsFolder() { return std::string(KAVLO_TEST_SOURCE_DIR) + "/scripts"; }

AppOptions SampleOptions(const std::wstring& commandLine) {
    SetCurrentDirectoryW(Widen(ScriptsFolder()).c_str());
    AppOptions options;
    options.machineFolder = std::string(KAVLO_TEST_SOURCE_DIR) + "/samples/office7";
    options.commandLine = commandLine;
    options.showWizard = false;
    options.registerServer = false;
    return options;
}

std::string FreshTempFolder(const std::string& name) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder =
        std::wstring(temp) + L"kavlo-ui-" + Widen(name) + L"-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    // Leftovers of an earlier run with the same process id are removed.
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((folder + L"\\" + found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    return Narrow(folder);
}

}  // namespace kavlo::ui::testing
