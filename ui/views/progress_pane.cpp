#include "ui/views/progress_pane.h"

#include <commctrl.h>

#include "ui/resource.h"

namespace kavlo::ui {
namespace {

constexpr UINT_PTR kStartTimer = 1;  // 200 ms, once
constexpr UINT_PTR kStepTimer = 2;   // 50 ms

}  // namespace

ProgressPane::ProgressPane() : ContentView(IDD_VIEW_REFRESH) {}

void ProgressPane::OnInitialUpdate() {
    SendMessageW(Item(IDC_PROGRESS), PBM_SETRANGE32, 0, 100);
    SendMessageW(Item(IDC_PROGRESS), PBM_SETSTEP, 5, 0);
    SetTimer(hwnd(), kStartTimer, 200, nullptr);
    SetTimer(hwnd(), kStepTimer, 50, nullptr);
    ContentView::OnInitialUpdate();
}

void ProgressPane::StopStepping() { KillTimer(hwnd(), kStepTimer); }

INT_PTR ProgressPane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (wParam == kStepTimer) {
            SendMessageW(Item(IDC_PROGRESS), PBM_STEPIT, 0, 0);  // wraps at the end of the range
        } else if (wParam == kStartTimer) {
            KillTimer(hwnd(), kStartTimer);
            SetTimer(hwnd(), kStepTimer, 50, nullptr);
        }
        return TRUE;
    }
    if (message == WM_DESTROY) {
        KillTimer(hwnd(), kStartTimer);
        KillTimer(hwnd(), kStepTimer);
    }
    return ContentView::HandleMessage(message, wParam, lParam);
}

// The label and the bar keep their places from the template.
void ProgressPane::Layout(int, int) {}

CKavloView::CKavloView() : ContentView(IDD_VIEW_LIST) {}

void CKavloView::Layout(int width, int height) { MoveWindow(Item(IDC_LIST), 0, 0, width, height, TRUE); }

}  // namespace kavlo::ui
