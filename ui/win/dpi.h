#pragma once
// The DPI of a window, on systems with and without per-monitor DPI.

#include <windows.h>

namespace kavlo::ui {

/// The window's DPI (GetDpiForWindow where the system has it, else the screen's).
int DpiOf(HWND hwnd);
/// Pixels at 96 DPI scaled to the window's DPI.
int Scale(HWND hwnd, int pixelsAt96);

}  // namespace kavlo::ui
