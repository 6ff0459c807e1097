#pragma once
// Owners of Windows handles: each closes its handle with the matching call.

#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace kavlo::ui {

/// A handle released by `Close` when the owner goes away.
template <typename Handle, typename Traits>
class Owned {
public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.handle_, Traits::Invalid()));
        return *this;
    }
    ~Owned() { Reset(); }

    void Reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid()) Traits::Close(handle_);
        handle_ = handle;
    }
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }

private:
    Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct GdiTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Close(HGDIOBJ h) { DeleteObject(h); }
};
struct FontTraits {
    static HFONT Invalid() { return nullptr; }
    static void Close(HFONT h) { DeleteObject(h); }
};
struct BrushTraits {
    static HBRUSH Invalid() { return nullptr; }
    static void Close(HBRUSH h) { DeleteObject(h); }
};
struct BitmapTraits {
    static HBITMAP Invalid() { return nullptr; }
    static void Close(HBITMAP h) { DeleteObject(h); }
};
struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static void Close(HIMAGELIST h) { ImageList_Destroy(h); }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct MenuTraits {
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};
struct DcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};

using UniqueHandle = Owned<HANDLE, KernelHandleTraits>;
using UniqueFont = Owned<HFONT, FontTraits>;
using UniqueBrush = Owned<HBRUSH, BrushTraits>;
using UniqueBitmap = Owned<HBITMAP, BitmapTraits>;
using UniqueImageList = Owned<HIMAGELIST, ImageListTraits>;
using UniqueKey = Owned<HKEY, RegKeyTraits>;
using UniqueModule = Owned<HMODULE, ModuleTraits>;
using UniqueMenu = Owned<HMENU, MenuTraits>;
using UniqueDc = Owned<HDC, DcTraits>;

/// A window's device context, released to its window.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

/// Selects an object into a DC and puts the old one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { SelectObject(dc_, old_); }

private:
    HDC dc_;
    HGDIOBJ old_;
};

/// A timer of a window, killed when the owner goes away.
class WindowTimer {
public:
    WindowTimer() = default;
    WindowTimer(const WindowTimer&) = delete;
    WindowTimer& operator=(const WindowTimer&) = delete;
    ~WindowTimer() { Stop(); }
    void Start(HWND hwnd, UINT_PTR id, UINT periodMs) {
        Stop();
        hwnd_ = hwnd;
        id_ = id;
        SetTimer(hwnd, id, periodMs, nullptr);
    }
    void Stop() {
        if (hwnd_) KillTimer(hwnd_, id_);
        hwnd_ = nullptr;
    }
    bool running() const { return hwnd_ != nullptr; }
    UINT_PTR id() const { return id_; }

private:
    HWND hwnd_ = nullptr;
    UINT_PTR id_ = 0;
};

}  // namespace kavlo::ui
