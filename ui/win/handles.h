#pragma once
// Owners of the handles the windows use: the platform's owner template with
// the GDI, image list and kernel kinds the windows need on top.

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/handles.h"

namespace kavlo::ui {

using platform::win32::Unique;

struct KernelHandleTraits {
    using Value = HANDLE;
    static Value Empty() { return nullptr; }
    static void Release(Value h) { CloseHandle(h); }
};
/// Any GDI object that DeleteObject frees (fonts, brushes, bitmaps).
template <class Object>
struct GdiObjectTraits {
    using Value = Object;
    static Value Empty() { return nullptr; }
    static void Release(Value h) { DeleteObject(h); }
};
struct ImageListTraits {
    using Value = HIMAGELIST;
    static Value Empty() { return nullptr; }
    static void Release(Value h) { ImageList_Destroy(h); }
};
struct MemoryDcTraits {
    using Value = HDC;
    static Value Empty() { return nullptr; }
    static void Release(Value h) { DeleteDC(h); }
};

/// A kernel object whose empty value is null (events, semaphores, threads).
using UniqueHandle = Unique<KernelHandleTraits>;
using UniqueFont = Unique<GdiObjectTraits<HFONT>>;
using UniqueBrush = Unique<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = Unique<GdiObjectTraits<HBITMAP>>;
using UniqueImageList = Unique<ImageListTraits>;
/// A device context made by CreateDC or CreateCompatibleDC.
using UniqueDc = Unique<MemoryDcTraits>;
using platform::win32::UniqueKey;
using platform::win32::UniqueModule;

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

}  // namespace kavlo::ui
