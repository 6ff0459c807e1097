#include "ui/frame/dialogs.h"

#include <commctrl.h>

#include "ui/resource.h"
#include "ui/win/text.h"

namespace kavlo::ui {

// ------------------------------------------------------------------ About

AboutDialog::AboutDialog() : Dialog(IDD_ABOUTBOX) {}

INT_PTR AboutDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_ACKNOWLEDGMENTS) {
        EndModal(IDOK);  // both buttons close the box
        return TRUE;
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

// ---------------------------------------------------------------- Contact

ContactDialog::ContactDialog(ContactFields fields) : Dialog(IDD_CONTACT), fields_(std::move(fields)) {}

BOOL ContactDialog::OnInitDialog() {
    SetEditText(Item(IDC_CONTACT_NAME), fields_.name);
    SetEditText(Item(IDC_CONTACT_CASE), fields_.caseNumber);
    SetEditText(Item(IDC_CONTACT_PHONE), fields_.phone);
    SetEditText(Item(IDC_CONTACT_EMAIL), fields_.email);
    SetEditText(Item(IDC_CONTACT_ISSUE), fields_.issue);
    return TRUE;
}

INT_PTR ContactDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        fields_.name = EditText(Item(IDC_CONTACT_NAME));
        fields_.caseNumber = EditText(Item(IDC_CONTACT_CASE));
        fields_.phone = EditText(Item(IDC_CONTACT_PHONE));
        fields_.email = EditText(Item(IDC_CONTACT_EMAIL));
        fields_.issue = EditText(Item(IDC_CONTACT_ISSUE));
        EndModal(IDOK);
        return TRUE;
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

// --------------------------------------------------------------- Progress

namespace {
constexpr UINT_PTR kStartTimer = 1;
}

ProgressDialog::ProgressDialog(int totalTitles, std::function<void(ProgressSteps&)> work)
    : Dialog(IDD_PROGRESS), totalTitles_(totalTitles), work_(std::move(work)) {}

BOOL ProgressDialog::OnInitDialog() {
    SendMessageW(Item(IDC_PROGRESS_BAR), PBM_SETRANGE32, 0, totalTitles_);
    SendMessageW(Item(IDC_PROGRESS_BAR), PBM_SETSTEP, 1, 0);
    SetTimer(hwnd(), kStartTimer, 200, nullptr);
    return TRUE;
}

INT_PTR ProgressDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kStartTimer) {
        KillTimer(hwnd(), kStartTimer);
        if (!running_) {
            running_ = true;
            if (work_) work_(*this);
            running_ = false;
            EndModal(IDOK);
        }
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) return TRUE;  // the gathering cannot be cancelled
    if (message == WM_CLOSE) return TRUE;
    return Dialog::HandleMessage(message, wParam, lParam);
}

void ProgressDialog::Step(const std::string& section) {
    SendMessageW(Item(IDC_PROGRESS_BAR), PBM_STEPIT, 0, 0);
    SetItemText(IDC_PROGRESS_SECTION, Widen(section).c_str());
    PumpPendingMessages();
}

void PumpPendingMessages() {
    MSG msg;
    // Input to disabled windows is dropped by the system; what arrives here is
    // painting, moving and the progress dialog's own messages.
    for (int i = 0; i < 200 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

}  // namespace kavlo::ui
