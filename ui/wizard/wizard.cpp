#include "ui/wizard/wizard.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>

#include "present/report_paths.h"
#include "ui/resource.h"
#include "ui/views/content_view.h"
#include "ui/win/file_dialog.h"
#include "ui/win/text.h"

namespace kavlo::ui {
namespace {

ReportWizard* g_running = nullptr;  // the wizard whose sheet is being created (one at a time)

/// The headings' look: "Arial Black" at 12 points, weight 400, on light grey.
void DecorateHeading(HWND edit, std::wstring_view text) {
    SendMessageW(edit, EM_SETBKGNDCOLOR, 0, RGB(0xC0, 0xC0, 0xC0));
    SetWindowTextW(edit, std::wstring(text).c_str());
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_WEIGHT | CFM_BOLD | CFM_COLOR;
    format.yHeight = 120 * 2;  // 120 tenths of a point, in twips
    format.wWeight = 400;
    format.crTextColor = RGB(0, 0, 0);
    wcsncpy(format.szFaceName, L"Arial Black", LF_FACESIZE - 1);
    SendMessageW(edit, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    HideCaret(edit);
}

}  // namespace

// ----------------------------------------------------------------- WizardPage

PROPSHEETPAGEW WizardPage::Describe() {
    PROPSHEETPAGEW page{};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT;
    page.hInstance = ResourceModule();
    page.pszTemplate = MAKEINTRESOURCEW(templateId());
    page.pfnDlgProc = &Dialog::PageProcedure;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

BOOL WizardPage::OnInitDialog() {
    DecorateHeading(Item(IDC_WIZ_HEADING), LoadStringView(headingId_));
    return TRUE;
}

void WizardPage::SetButtons(DWORD flags) const { PropSheet_SetWizButtons(Sheet(), flags); }

INT_PTR WizardPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<NMHDR*>(lParam);
        switch (header->code) {
            case PSN_SETACTIVE: OnSetActive(); return Result(0);
            case PSN_WIZNEXT: return Result(OnNext() ? 0 : -1);
            default: break;
        }
    }
    if (message == WM_COMMAND && HIWORD(wParam) == EN_SETFOCUS && LOWORD(wParam) == IDC_WIZ_HEADING) {
        HideCaret(Item(IDC_WIZ_HEADING));
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

// ------------------------------------------------------- choose-mode page

ChooseModePage::ChooseModePage() : WizardPage(IDD_WIZ_CHOOSE_MODE, IDS_MODE_HEADING) {}

BOOL ChooseModePage::OnInitDialog() {
    WizardPage::OnInitDialog();
    SetItemText(IDC_MODE_TEXT, std::wstring(LoadStringView(IDS_MODE_TEXT)).c_str());
    SetItemText(IDC_MODE_RUN, std::wstring(LoadStringView(IDS_MODE_RUN)).c_str());
    SetItemText(IDC_MODE_VIEW, std::wstring(LoadStringView(IDS_MODE_VIEW)).c_str());
    CheckRadioButton(hwnd(), IDC_MODE_RUN, IDC_MODE_VIEW, IDC_MODE_RUN);
    return TRUE;
}

void ChooseModePage::OnSetActive() { ApplyChoice(); }

void ChooseModePage::ApplyChoice() {
    if (IsDlgButtonChecked(hwnd(), IDC_MODE_VIEW) == BST_CHECKED) {
        SetButtons(PSWIZB_DISABLEDFINISH);
        SetItemText(IDC_MODE_VIEW, std::wstring(LoadStringView(IDS_MODE_VIEW_CANCEL)).c_str());
    } else {
        SetButtons(PSWIZB_NEXT);
        SetItemText(IDC_MODE_VIEW, std::wstring(LoadStringView(IDS_MODE_VIEW)).c_str());
    }
}

INT_PTR ChooseModePage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDC_MODE_RUN || LOWORD(wParam) == IDC_MODE_VIEW)) {
        ApplyChoice();
        return TRUE;
    }
    return WizardPage::HandleMessage(message, wParam, lParam);
}

// ------------------------------------------------------------ contact page

EnterContactPage::EnterContactPage(Document& document)
    : WizardPage(IDD_WIZ_ENTER_CONTACT, IDS_ENTER_CONTACT_HEADING), document_(document) {}

void EnterContactPage::OnSetActive() {
    // Filled from the document once; after that the fields hold what was typed.
    if (!filled_) {
        filled_ = true;
        const ContactFields fields = document_.contact();
        SetEditText(Item(IDC_ENTER_CASE), fields.caseNumber);
        SetEditText(Item(IDC_ENTER_NAME), fields.name);
        SetEditText(Item(IDC_ENTER_PHONE), fields.phone);
        SetEditText(Item(IDC_ENTER_EMAIL), fields.email);
        SetEditText(Item(IDC_ENTER_ISSUE), fields.issue);
    }
    SetButtons(PSWIZB_BACK | PSWIZB_NEXT);
}

bool EnterContactPage::OnNext() {
    ContactFields fields;
    fields.caseNumber = EditText(Item(IDC_ENTER_CASE));
    fields.name = EditText(Item(IDC_ENTER_NAME));
    fields.phone = EditText(Item(IDC_ENTER_PHONE));
    fields.email = EditText(Item(IDC_ENTER_EMAIL));
    fields.issue = EditText(Item(IDC_ENTER_ISSUE));
    document_.SetContact(fields);  // the report carries them
    return true;
}

// --------------------------------------------------------------- save page

SaveReportPage::SaveReportPage(Document& document, SaveFunction save)
    : WizardPage(IDD_WIZ_SAVE_REPORT, IDS_SAVE_HEADING), document_(document), save_(std::move(save)) {}

void SaveReportPage::OnSetActive() {
    // A path typed here (or proposed before) stays when the customer comes back.
    if (WindowText(Item(IDC_SAVE_PATH)).empty()) {
        platform::Machine& machine = document_.context().machine;
        SetEditText(Item(IDC_SAVE_PATH),
                    ProposedReportPath(machine.WindowsDirectory(), machine.ComputerName(), machine.Now()));
    }
    SetButtons(PSWIZB_BACK | PSWIZB_NEXT);
}

INT_PTR SaveReportPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_SAVE_BROWSE && HIWORD(wParam) == BN_CLICKED) {
        Browse();
        return TRUE;
    }
    return WizardPage::HandleMessage(message, wParam, lParam);
}

void SaveReportPage::Browse() {
    const std::wstring filter = FileFilter(LoadStringView(IDS_REPORT_FILTER), L"*.IFO");
    if (const auto path = AskSavePath(Sheet(), filter, EditText(Item(IDC_SAVE_PATH)), L"IFO")) {
        SetEditText(Item(IDC_SAVE_PATH), *path);
    }
}

bool SaveReportPage::OnNext() {
    reportPath_ = EditText(Item(IDC_SAVE_PATH));
    SetItemText(IDC_SAVE_ERROR, L"");
    outcome_ = save_(reportPath_, Sheet());
    if (outcome_.ok) return true;
    // Stay here with the path, so that the customer can correct it and try again.
    const std::string reason = outcome_.message.empty() ? Narrow(LoadStringView(IDS_FAILED_TO_SAVE)) : outcome_.message;
    SetEditText(Item(IDC_SAVE_ERROR), "The report could not be saved to " + reportPath_ + ":\n" + reason +
                                          "\nCorrect the path and press Next again.");
    SetFocus(Item(IDC_SAVE_PATH));
    return false;
}

// ----------------------------------------------------------- compress page

CompressReportPage::CompressReportPage(Document& document, const SaveReportPage& savePage, MovedFunction moved)
    : WizardPage(IDD_WIZ_COMPRESS_REPORT, IDS_COMPRESS_HEADING),
      document_(document),
      savePage_(savePage),
      moved_(std::move(moved)) {}

void CompressReportPage::OnSetActive() {
    if (!compressedOnce_) {
        compressedOnce_ = true;
        SaveOutcome outcome;
        outcome.saved = savePage_.saveOutcome().ok;
        std::string reason = savePage_.saveOutcome().message;
        if (outcome.saved) {
            std::string gzPath;
            const DocOutcome compressed = document_.Compress(savePage_.reportPath(), &gzPath);
            outcome.compressed = compressed.ok && GetFileAttributesW(Widen(gzPath).c_str()) != INVALID_FILE_ATTRIBUTES;
            if (!compressed.ok) reason = compressed.message;
            if (outcome.compressed && moved_) moved_(savePage_.reportPath(), gzPath);
        }
        message_ = FinishMessage(savePage_.reportPath(), outcome);
        if (!outcome.compressed && !reason.empty()) message_ += "\n\n" + reason;
        SetItemText(IDC_COMPRESS_TEXT, Widen(message_).c_str());
    }
    SetButtons(PSWIZB_FINISH);
}

INT_PTR CompressReportPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_WIZFINISH) {
        finished_ = true;
        return Result(FALSE);
    }
    return WizardPage::HandleMessage(message, wParam, lParam);
}

// ---------------------------------------------------------------------- ReportWizard

ReportWizard::ReportWizard(Document& document, SaveFunction save, MovedFunction moved)
    : document_(document),
      contact_(document),
      save_(document, std::move(save)),
      compress_(document, save_, std::move(moved)) {}

bool ReportWizard::Run(HWND owner) {
    const ContactFields before = document_.contact();
    PROPSHEETPAGEW pages[] = {choose_.Describe(), contact_.Describe(), save_.Describe(), compress_.Describe()};
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_WIZARD | PSH_PROPSHEETPAGE | PSH_USECALLBACK;
    header.hwndParent = owner;
    header.hInstance = ResourceModule();
    header.pszCaption = L"";
    header.nPages = static_cast<UINT>(std::size(pages));
    header.ppsp = pages;
    header.pfnCallback = &ReportWizard::SheetCallback;
    picture_.Reset(static_cast<HBITMAP>(
        LoadImageW(ResourceModule(), MAKEINTRESOURCEW(IDB_WIZARD), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    g_running = this;
    PropertySheetW(&header);
    g_running = nullptr;
    sheet_ = nullptr;
    if (compress_.finished()) {
        // The registry copy only saves typing the details again next time.
        (void)document_.StoreContact();
    } else {
        document_.SetContact(before);
    }
    return compress_.finished();
}

int CALLBACK ReportWizard::SheetCallback(HWND hwnd, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && g_running) {
        g_running->sheet_ = hwnd;
        SetWindowSubclass(hwnd, &ReportWizard::SheetPaint, 1, reinterpret_cast<DWORD_PTR>(g_running));
    }
    return 0;
}

namespace {

/// Centres a window on the work area of the monitor it is on.
void CentreOnWorkArea(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    RECT rect{};
    GetWindowRect(window, &rect);
    const RECT& area = monitor.rcWork;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    SetWindowPos(window, nullptr, area.left + std::max(0L, (area.right - area.left - width) / 2),
                 area.top + std::max(0L, (area.bottom - area.top - height) / 2), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

LRESULT CALLBACK ReportWizard::SheetPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                          DWORD_PTR data) {
    auto* self = reinterpret_cast<ReportWizard*>(data);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &ReportWizard::SheetPaint, id);
    if (message == WM_SHOWWINDOW && wParam && !self->centred_) {
        self->centred_ = true;
        CentreOnWorkArea(hwnd);
    }
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_SIZE) InvalidateRect(hwnd, nullptr, FALSE);
    if (message == WM_PAINT) self->PaintBanner(hwnd);
    return result;
}

void ReportWizard::PaintBanner(HWND sheet) const {
    if (!picture_) return;
    // The picture's top rows (the program's mark and name) sit at x 10 beside
    // the buttons, centred on them, so that they are never cut off below.
    constexpr int kBannerWidth = 170;
    constexpr int kBannerHeight = 35;
    RECT client{};
    GetClientRect(sheet, &client);
    int top = client.bottom - kBannerHeight - 4;
    if (HWND button = GetDlgItem(sheet, IDCANCEL)) {
        RECT rect{};
        GetWindowRect(button, &rect);
        MapWindowPoints(nullptr, sheet, reinterpret_cast<POINT*>(&rect), 2);
        top = (rect.top + rect.bottom) / 2 - kBannerHeight / 2;
    }
    top = std::clamp(top, 0, static_cast<int>(std::max(0L, client.bottom - kBannerHeight)));
    WindowDc dc(sheet);
    UniqueDc memory(CreateCompatibleDC(dc.get()));
    SelectedObject selected(memory.get(), picture_.get());
    BitBlt(dc.get(), 10, top, kBannerWidth, kBannerHeight, memory.get(), 0, 0, SRCCOPY);
}

}  // namespace kavlo::ui
