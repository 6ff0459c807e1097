#include "ui/frame/print.h"

#include "ui/views/content_view.h"

#include <cderr.h>
#include <commdlg.h>
#include <richedit.h>

#include <algorithm>
#include <vector>

#include "ui/resource.h"
#include "ui/win/handles.h"
#include "ui/win/window.h"

namespace kavlo::ui {
namespace {

/// The printer the user chose last (device mode and names), kept for the run.
struct PrinterChoice {
    HGLOBAL devMode = nullptr;
    HGLOBAL devNames = nullptr;
    ~PrinterChoice() {
        if (devMode) GlobalFree(devMode);
        if (devNames) GlobalFree(devNames);
    }
};
PrinterChoice& Printer() {
    static PrinterChoice choice;
    return choice;
}

constexpr int kTwipsPerInch = 1440;
constexpr int kMarginTwips = 1080;  // three quarters of an inch

/// A page as rich edit lays it out: the page and the printable area in twips.
struct PageGeometry {
    RECT page{};
    RECT area{};
};

PageGeometry GeometryOf(HDC target) {
    PageGeometry g;
    int widthTwips = 12240;  // US letter when there is no printer
    int heightTwips = 15840;
    if (target && GetDeviceCaps(target, LOGPIXELSX) > 0) {
        widthTwips = MulDiv(GetDeviceCaps(target, PHYSICALWIDTH), kTwipsPerInch, GetDeviceCaps(target, LOGPIXELSX));
        heightTwips = MulDiv(GetDeviceCaps(target, PHYSICALHEIGHT), kTwipsPerInch, GetDeviceCaps(target, LOGPIXELSY));
        if (widthTwips <= 0 || heightTwips <= 0) {
            widthTwips = 12240;
            heightTwips = 15840;
        }
    }
    g.page = {0, 0, widthTwips, heightTwips};
    g.area = {kMarginTwips, kMarginTwips, widthTwips - kMarginTwips, heightTwips - kMarginTwips};
    return g;
}

/// The first character of every page.
std::vector<LONG> PageStarts(HWND edit, HDC target, const PageGeometry& g) {
    std::vector<LONG> starts;
    const LONG length = static_cast<LONG>(GetWindowTextLengthW(edit));
    FORMATRANGE range{};
    range.hdc = target;
    range.hdcTarget = target;
    range.rcPage = g.page;
    LONG start = 0;
    do {
        starts.push_back(start);
        range.rc = g.area;
        range.chrg = {start, -1};
        const LONG next =
            static_cast<LONG>(SendMessageW(edit, EM_FORMATRANGE, FALSE, reinterpret_cast<LPARAM>(&range)));
        if (next <= start) break;
        start = next;
    } while (start < length && starts.size() < 100000);
    SendMessageW(edit, EM_FORMATRANGE, FALSE, 0);
    return starts;
}

HDC ChosenPrinterDc(HWND owner, bool ask) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = Printer().devMode;
    dialog.hDevNames = Printer().devNames;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    if (!ask) dialog.Flags |= PD_RETURNDEFAULT;
    if (!PrintDlgW(&dialog)) return nullptr;
    Printer().devMode = dialog.hDevMode;
    Printer().devNames = dialog.hDevNames;
    return dialog.hDC;
}

// ------------------------------------------------------------------ preview

class PreviewDialog : public Dialog {
public:
    PreviewDialog(HWND edit) : Dialog(IDD_PREVIEW), edit_(edit) {}

protected:
    BOOL OnInitDialog() override {
        target_.Reset(ChosenPrinterDc(hwnd(), false));
        if (!target_) screen_ = true;
        geometry_ = GeometryOf(target_ ? target_.get() : nullptr);
        HDC measure = target_ ? target_.get() : GetDC(nullptr);
        starts_ = PageStarts(edit_, measure, geometry_);
        if (!target_) ReleaseDC(nullptr, measure);
        RECT work{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        MoveWindow(hwnd(), work.left + 40, work.top + 20, (work.right - work.left) * 2 / 3,
                   (work.bottom - work.top) - 40, FALSE);
        Relayout();
        UpdateButtons();
        return TRUE;
    }

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_SIZE: Relayout(); return TRUE;
            case WM_DRAWITEM:
                if (wParam == IDC_PREVIEW_PAGE) {
                    DrawPage(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
                    return TRUE;
                }
                break;
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case IDC_PREVIEW_NEXT:
                        if (page_ + 1 < starts_.size()) ++page_;
                        UpdateButtons();
                        return TRUE;
                    case IDC_PREVIEW_PREV:
                        if (page_ > 0) --page_;
                        UpdateButtons();
                        return TRUE;
                    case IDC_PREVIEW_PRINT: EndModal(IDC_PREVIEW_PRINT); return TRUE;
                    default: break;
                }
                break;
            default: break;
        }
        return Dialog::HandleMessage(message, wParam, lParam);
    }

private:
    void Relayout() {
        RECT client{};
        GetClientRect(hwnd(), &client);
        RECT top{0, 0, 4, 22};
        MapDialogRect(hwnd(), &top);
        MoveWindow(Item(IDC_PREVIEW_PAGE), top.right, top.bottom, client.right - 2 * top.right,
                   client.bottom - top.bottom - top.right, TRUE);
        InvalidateRect(Item(IDC_PREVIEW_PAGE), nullptr, TRUE);
    }

    void UpdateButtons() {
        EnableWindow(Item(IDC_PREVIEW_PREV), page_ > 0);
        EnableWindow(Item(IDC_PREVIEW_NEXT), page_ + 1 < starts_.size());
        InvalidateRect(Item(IDC_PREVIEW_PAGE), nullptr, TRUE);
    }

    void DrawPage(const DRAWITEMSTRUCT& item) {
        const RECT& box = item.rcItem;
        FillRect(item.hDC, &box, GetSysColorBrush(COLOR_APPWORKSPACE));
        // Draw the page at 96 DPI into a bitmap and shrink it into the box.
        const int pageWidth = MulDiv(geometry_.page.right, 96, kTwipsPerInch);
        const int pageHeight = MulDiv(geometry_.page.bottom, 96, kTwipsPerInch);
        const int boxWidth = box.right - box.left - 20;
        const int boxHeight = box.bottom - box.top - 20;
        if (boxWidth <= 0 || boxHeight <= 0 || pageWidth <= 0 || pageHeight <= 0) return;
        const double scale =
            std::min(static_cast<double>(boxWidth) / pageWidth, static_cast<double>(boxHeight) / pageHeight);
        const int drawWidth = static_cast<int>(pageWidth * scale);
        const int drawHeight = static_cast<int>(pageHeight * scale);
        const int x = box.left + (box.right - box.left - drawWidth) / 2;
        const int y = box.top + (box.bottom - box.top - drawHeight) / 2;

        UniqueDc memory(CreateCompatibleDC(item.hDC));
        UniqueBitmap bitmap(CreateCompatibleBitmap(item.hDC, pageWidth, pageHeight));
        {
            SelectedObject selected(memory.get(), bitmap.get());
            RECT whole{0, 0, pageWidth, pageHeight};
            FillRect(memory.get(), &whole, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            SetMapMode(memory.get(), MM_TEXT);
            FORMATRANGE range{};
            range.hdc = memory.get();
            range.hdcTarget = target_ ? target_.get() : memory.get();
            range.rcPage = geometry_.page;
            range.rc = geometry_.area;
            range.chrg = {page_ < starts_.size() ? starts_[page_] : 0, -1};
            SendMessageW(edit_, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
            SendMessageW(edit_, EM_FORMATRANGE, FALSE, 0);
            SetStretchBltMode(item.hDC, HALFTONE);
            StretchBlt(item.hDC, x, y, drawWidth, drawHeight, memory.get(), 0, 0, pageWidth, pageHeight, SRCCOPY);
        }
        RECT frame{x - 1, y - 1, x + drawWidth + 1, y + drawHeight + 1};
        FrameRect(item.hDC, &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }

    HWND edit_;
    UniqueDc target_;
    bool screen_ = false;
    PageGeometry geometry_;
    std::vector<LONG> starts_;
    std::size_t page_ = 0;
};

}  // namespace

void PrintSetup(HWND owner) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.hDevMode = Printer().devMode;
    dialog.hDevNames = Printer().devNames;
    dialog.Flags = PD_PRINTSETUP;
    if (PrintDlgW(&dialog)) {
        Printer().devMode = dialog.hDevMode;
        Printer().devNames = dialog.hDevNames;
    } else if (CommDlgExtendedError() == PDERR_NODEFAULTPRN) {
        MessageBoxText(owner, L"No printer is installed.", MB_OK | MB_ICONINFORMATION);
    }
}

void PrintRichText(HWND owner, HWND edit, const wchar_t* documentName) {
    UniqueDc printer(ChosenPrinterDc(owner, true));
    if (!printer) {
        if (CommDlgExtendedError() == PDERR_NODEFAULTPRN) {
            MessageBoxText(owner, L"No printer is installed.", MB_OK | MB_ICONINFORMATION);
        }
        return;
    }
    const PageGeometry g = GeometryOf(printer.get());
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = documentName;
    if (StartDocW(printer.get(), &info) <= 0) {
        MessageBoxText(owner, L"The document could not be printed.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const LONG length = static_cast<LONG>(GetWindowTextLengthW(edit));
    FORMATRANGE range{};
    range.hdc = printer.get();
    range.hdcTarget = printer.get();
    range.rcPage = g.page;
    LONG start = 0;
    bool ok = true;
    do {
        if (StartPage(printer.get()) <= 0) {
            ok = false;
            break;
        }
        range.rc = g.area;
        range.chrg = {start, -1};
        const LONG next = static_cast<LONG>(SendMessageW(edit, EM_FORMATRANGE, TRUE, reinterpret_cast<LPARAM>(&range)));
        if (EndPage(printer.get()) <= 0) {
            ok = false;
            break;
        }
        if (next <= start) break;
        start = next;
    } while (start < length);
    SendMessageW(edit, EM_FORMATRANGE, FALSE, 0);
    if (ok) {
        EndDoc(printer.get());
    } else {
        AbortDoc(printer.get());
        MessageBoxText(owner, L"The document could not be printed.", MB_OK | MB_ICONEXCLAMATION);
    }
}

void PreviewRichText(HWND owner, HWND edit) {
    PreviewDialog preview(edit);
    if (preview.RunModal(owner) == IDC_PREVIEW_PRINT) PrintRichText(owner, edit, L"KAVLO");
}

namespace {

/// A hidden rich edit control holding a text for the printer's layout; only
/// printing needs one, the views draw their text themselves.
class PrintableCopy {
public:
    PrintableCopy(HWND owner, const std::string& text)
        : edit_(CreateWindowExW(0, L"RichEdit50W", L"", WS_CHILD | ES_MULTILINE | ES_READONLY, 0, 0, 0, 0, owner,
                                nullptr, ResourceModule(), nullptr)) {
        if (!edit_) return;
        SendMessageW(edit_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
        SetRichTextAtTop(edit_, text, L"MS Sans Serif", 80);
    }
    PrintableCopy(const PrintableCopy&) = delete;
    PrintableCopy& operator=(const PrintableCopy&) = delete;
    ~PrintableCopy() {
        if (edit_) DestroyWindow(edit_);
    }
    HWND get() const { return edit_; }

private:
    HWND edit_;
};

}  // namespace

void PrintText(HWND owner, const std::string& text, const wchar_t* documentName) {
    PrintableCopy copy(owner, text);
    if (copy.get()) PrintRichText(owner, copy.get(), documentName);
}

void PreviewText(HWND owner, const std::string& text) {
    PrintableCopy copy(owner, text);
    if (copy.get()) PreviewRichText(owner, copy.get());
}

}  // namespace kavlo::ui
