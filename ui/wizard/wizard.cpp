#include "ui/wizard/wizard.h"

#include <commctrl.h>
#include <commdlg.h>
#include <richedit.h>

#include "present/report_paths.h"
#include "ui/resource.h"
#include "ui/views/content_view.h"
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
        case PSN_SETACTIVE:
            OnSetActive();
            return Result(0);
        case PSN_WIZNEXT:
            return Result(OnNext() ? 0 : -1);
        default:
            break;
        }
    }
    if (message == WM_COMMAND && HIWORD(wParam) == EN_SETFOCUS && LOWORD(wParam) == IDC_WIZ_HEADING) {
        HideCaret(Item(IDC_WIZ_HEADING));
    }
    return Dialog::HandleMessage(message, wParam, lParam);
}

// -------------------------------------------------------------------- page 1

WelcomePage::WelcomePage() : WizardPage(IDD_WIZ1_P1, IDS_P1_HEADING) {}

BOOL WelcomePage::OnInitDialog() {
    WizardPage::OnInitDialog();
    SetItemText(IDC_P1_TEXT, std::wstring(LoadStringView(IDS_P1_TEXT)).c_str());
    SetItemText(IDC_P1_RUN, std::wstring(LoadStringView(IDS_P1_RUN)).c_str());
    SetItemText(IDC_P1_VIEW, std::wstring(LoadStringView(IDS_P1_VIEW)).c_str());
    CheckRadioButton(hwnd(), IDC_P1_RUN, IDC_P1_VIEW, IDC_P1_RUN);
    return TRUE;
}

void WelcomePage::OnSetActive() { ApplyChoice(); }

void WelcomePage::ApplyChoice() {
    if (IsDlgButtonChecked(hwnd(), IDC_P1_VIEW) == BST_CHECKED) {
        SetButtons(PSWIZB_DISABLEDFINISH);
        SetItemText(IDC_P1_VIEW, std::wstring(LoadStringView(IDS_P1_VIEW_CANCEL)).c_str());
    } else {
        SetButtons(PSWIZB_NEXT);
        SetItemText(IDC_P1_VIEW, std::wstring(LoadStringView(IDS_P1_VIEW)).c_str());
    }
}

INT_PTR WelcomePage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDC_P1_RUN || LOWORD(wParam) == IDC_P1_VIEW)) {
        ApplyChoice();
        return TRUE;
    }
    return WizardPage::HandleMessage(message, wParam, lParam);
}

// -------------------------------------------------------------------- page 2

namespace {

std::wstring ForEdit(const std::string& text) {
    std::wstring out;
    for (wchar_t c : Widen(text)) {
        if (c == L'\n' && (out.empty() || out.back() != L'\r')) out += L'\r';
        out += c;
    }
    return out;
}

}  // namespace

ContactPage::ContactPage(Document& document) : WizardPage(IDD_WIZ1_P2, IDS_P2_HEADING), document_(document) {}

void ContactPage::OnSetActive() {
    const ContactFields fields = document_.contact();
    SetItemText(IDC_P2_CASE, Widen(fields.caseNumber).c_str());
    SetItemText(IDC_P2_NAME, Widen(fields.name).c_str());
    SetItemText(IDC_P2_PHONE, Widen(fields.phone).c_str());
    SetItemText(IDC_P2_EMAIL, Widen(fields.email).c_str());
    SetItemText(IDC_P2_ISSUE, ForEdit(fields.issue).c_str());
    SetButtons(PSWIZB_BACK | PSWIZB_NEXT);
}

bool ContactPage::OnNext() {
    ContactFields fields;
    fields.caseNumber = Narrow(WindowText(Item(IDC_P2_CASE)));
    fields.name = Narrow(WindowText(Item(IDC_P2_NAME)));
    fields.phone = Narrow(WindowText(Item(IDC_P2_PHONE)));
    fields.email = Narrow(WindowText(Item(IDC_P2_EMAIL)));
    fields.issue = Narrow(WindowText(Item(IDC_P2_ISSUE)));
    document_.SetContact(fields);
    // The report carries the fields either way; the registry copy only saves
    // typing them again next time.
    (void)document_.StoreContact();
    return true;
}

// -------------------------------------------------------------------- page 3

ReservedPage::ReservedPage() : WizardPage(IDD_WIZ1_P3, IDS_P3_HEADING) {}

// -------------------------------------------------------------------- page 4

SavePage::SavePage(Document& document, SaveFunction save)
    : WizardPage(IDD_WIZ1_P4, IDS_P4_HEADING), document_(document), save_(std::move(save)) {}

void SavePage::OnSetActive() {
    platform::Machine& machine = document_.context().machine;
    const std::string proposed = ProposedReportPath(machine.WindowsDirectory(), machine.ComputerName(), machine.Now());
    SetItemText(IDC_P4_PATH, Widen(proposed).c_str());
    SetButtons(PSWIZB_BACK | PSWIZB_NEXT);
}

INT_PTR SavePage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_P4_BROWSE && HIWORD(wParam) == BN_CLICKED) {
        Browse();
        return TRUE;
    }
    return WizardPage::HandleMessage(message, wParam, lParam);
}

void SavePage::Browse() {
    wchar_t file[MAX_PATH * 4] = {};
    const std::wstring current = WindowText(Item(IDC_P4_PATH));
    current.copy(file, std::min(current.size(), std::size(file) - 1));
    const std::wstring name = std::wstring(LoadStringView(IDS_REPORT_FILTER));
    const std::wstring filter = name + L'\0' + L"*.IFO" + L'\0' + L"All Files (*.*)" + L'\0' + L"*.*" + L'\0' + L'\0';
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = Sheet();
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = file;
    dialog.nMaxFile = static_cast<DWORD>(std::size(file));
    dialog.lpstrDefExt = L"IFO";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (GetSaveFileNameW(&dialog)) SetItemText(IDC_P4_PATH, file);
}

bool SavePage::OnNext() {
    reportPath_ = Narrow(WindowText(Item(IDC_P4_PATH)));
    outcome_ = save_(reportPath_, Sheet());
    return true;  // page 5 tells how the save went
}

// -------------------------------------------------------------------- page 5

SendPage::SendPage(Document& document, const SavePage& savePage)
    : WizardPage(IDD_WIZ1_P5, IDS_P5_HEADING), document_(document), savePage_(savePage) {}

void SendPage::OnSetActive() {
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
        }
        message_ = FinishMessage(savePage_.reportPath(), outcome);
        if (!outcome.compressed && !reason.empty()) message_ += "\n\n" + reason;
        SetItemText(IDC_P5_TEXT, Widen(message_).c_str());
    }
    SetButtons(PSWIZB_FINISH);
}

INT_PTR SendPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == PSN_WIZFINISH) {
        finished_ = true;
        return Result(FALSE);
    }
    return WizardPage::HandleMessage(message, wParam, lParam);
}

// ---------------------------------------------------------------------- ReportWizard

ReportWizard::ReportWizard(Document& document, SaveFunction save)
    : p2_(document), p4_(document, std::move(save)), p5_(document, p4_) {}

bool ReportWizard::Run(HWND owner) {
    PROPSHEETPAGEW pages[] = {p1_.Describe(), p2_.Describe(), p4_.Describe(), p5_.Describe()};
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
    return p5_.finished();
}

int CALLBACK ReportWizard::SheetCallback(HWND hwnd, UINT message, LPARAM) {
    if (message == PSCB_INITIALIZED && g_running) {
        g_running->sheet_ = hwnd;
        SetWindowSubclass(hwnd, &ReportWizard::SheetPaint, 1, reinterpret_cast<DWORD_PTR>(g_running));
    }
    return 0;
}

LRESULT CALLBACK ReportWizard::SheetPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR data) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &ReportWizard::SheetPaint, id);
    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_PAINT || message == WM_SIZE) {
        auto* self = reinterpret_cast<ReportWizard*>(data);
        if (message == WM_SIZE) {
            InvalidateRect(hwnd, nullptr, FALSE);
            return result;
        }
        if (self->picture_) {
            // The picture sits at x 10, 35 pixels above the bottom of the sheet.
            RECT client{};
            GetClientRect(hwnd, &client);
            HDC dc = GetDC(hwnd);
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, self->picture_.get());
            BitBlt(dc, 10, client.bottom - 35, 170, 120, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
            ReleaseDC(hwnd, dc);
        }
    }
    return result;
}

}  // namespace kavlo::ui
