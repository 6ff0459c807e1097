#pragma once
// Drives the real windows of kavlo.exe in-process for the UI tests and the
// screenshot program: message pumping, mouse clicks on controls, lookups of
// tree items, and window captures saved as PNG files.

#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <functional>
#include <string>

#include "ui/app/app.h"

namespace kavlo::ui::testing {

/// Dispatches messages until `done` is true or the time is up; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 20000);
/// Dispatches the messages that arrive within the given time.
void PumpFor(int milliseconds);

/// Posts a left click at the centre of a rectangle of a window's client area.
void PostClick(HWND window, const RECT& clientRect);
/// Clicks a tree item with the mouse (the item is made visible first).
void ClickTreeItem(HWND tree, HTREEITEM item);
/// Clicks a list view's column header.
void ClickColumnHeader(HWND list, int column);

/// The item whose text is `text` among the children of `parent` (TVI_ROOT for the top).
HTREEITEM FindChild(HWND tree, HTREEITEM parent, const std::wstring& text);
/// The title `title` of the first script whose label starts with `script` (the
/// script expanded), or that script's own item when `title` is empty.
HTREEITEM FindSampleTitle(HWND tree, const std::wstring& script, const std::wstring& title);
std::wstring TreeItemText(HWND tree, HTREEITEM item);
int TreeStateImage(HWND tree, HTREEITEM item);
/// A list view cell's text (works for virtual lists).
std::wstring ListCell(HWND list, int row, int column);

/// Saves what the screen shows of a window as a PNG file.
bool SaveWindowPng(HWND window, const std::string& path);

/// Runs `step` every 100 ms (also inside modal loops) until it returns true.
class TimerDriver {
public:
    explicit TimerDriver(std::function<bool()> step);
    ~TimerDriver();
    bool done() const { return done_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD);
    std::function<bool()> step_;
    UINT_PTR id_ = 0;
    bool done_ = false;
    bool inStep_ = false;
};

/// A TimerDriver step that waits for the program's message box, reads its text
/// into `message` and closes it with OK.
std::function<bool()> CloseMessageBoxReading(std::wstring& message);

/// The options of an application started on the bundled sample machine with
/// the bundled scripts as its execution path.
AppOptions SampleOptions(const std::wstring& commandLine = L"");
/// A new empty folder for a test's files.
std::string FreshTempFolder(const std::string& name);

}  // namespace kavlo::ui::testing
