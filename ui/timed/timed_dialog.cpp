#include "ui/timed/timed_dialog.h"

#include "platform/time_format.h"
#include "present/report_paths.h"
#include "ui/resource.h"
#include "ui/win/text.h"

namespace kavlo::ui {
namespace {

constexpr UINT_PTR kSaveTimer = 1;
constexpr UINT kFirstSaveMs = 50;

}  // namespace

TimedDialog::TimedDialog(Document& document, TimedSettings settings, SaveFunction save)
    : Dialog(IDD_TIMED), document_(document), settings_(std::move(settings)), save_(std::move(save)) {}

BOOL TimedDialog::OnInitDialog() {
    SetItemText(IDC_TIMED_INTERVAL, Widen(IntervalText(settings_)).c_str());
    SetItemText(IDC_TIMED_DIRECTORY, Widen(settings_.directory).c_str());
    SetTimer(hwnd(), kSaveTimer, kFirstSaveMs, nullptr);
    SetFocus(Item(IDCANCEL));
    return FALSE;  // the focus is set
}

INT_PTR TimedDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER) {
        if (wParam == kSaveTimer) SaveNow();
        return TRUE;  // other timers are not ours
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) KillTimer(hwnd(), kSaveTimer);
    return Dialog::HandleMessage(message, wParam, lParam);
}

void TimedDialog::SaveNow() {
    KillTimer(hwnd(), kSaveTimer);
    lastPath_ = TimedReportPath(settings_.directory, document_.ReportFileName());
    const DocOutcome outcome = save_(lastPath_, hwnd());
    ++saves_;
    std::string status = FormatTime(document_.context().machine.Now(), "%c");
    // The dialog runs unattended: a failure is shown here instead of in a
    // message box that would hold back every later save.
    if (!outcome.ok) {
        std::string message = outcome.message;
        for (char& c : message) {
            if (c == '\n' || c == '\r') c = ' ';
        }
        status += "  " + message;
    }
    SetItemText(IDC_TIMED_LASTSAVE, Widen(status).c_str());
    SetTimer(hwnd(), kSaveTimer, settings_.PeriodMs(), nullptr);
}

}  // namespace kavlo::ui
