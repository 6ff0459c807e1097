#include "ui/frame/main_frame.h"

#include <commctrl.h>

#include "ui/frame/dialogs.h"
#include "ui/frame/mail.h"
#include "ui/frame/print.h"
#include "present/navigation_text.h"
#include "ui/resource.h"
#include "ui/views/expandable_tree_pane.h"
#include "ui/views/list_pane.h"
#include "ui/views/progress_pane.h"
#include "ui/views/text_pane.h"
#include "ui/views/tree_pane.h"
#include "ui/win/dpi.h"
#include "ui/win/file_dialog.h"
#include "ui/win/text.h"

namespace kavlo::ui {
namespace {

constexpr int kSplitterId = 59648;
constexpr const wchar_t* kSettingsKey = L"Software\\Local AppWizard-Generated Applications\\KAVLO\\Recent File List";
constexpr std::size_t kRecentFileCount = 4;

/// The report type's filter for the file dialogs: its name and the patterns
/// made from the document string's extensions.
std::wstring ReportFilter() { return FileFilter(LoadStringView(IDS_REPORT_FILTER), Widen(FilterPatterns(".gz;.ifo"))); }

bool FileExists(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

struct ToolButton {
    int image;
    int command;
};

constexpr ToolButton kToolButtons[] = {
    {0, ID_FILE_OPEN},
    {1, ID_FILE_SAVE},
    {-1, 0},
    {2, ID_EDIT_COPY},
    {-1, 0},
    {3, ID_FILE_PRINT},
    {-1, 0},
    {4, ID_CONTACT_BUTTON},
    {5, ID_CHECKBOXES_DISPLAY},
    {-1, 0},
    {6, ID_APP_ABOUT},
};

}  // namespace

CMainFrame::CMainFrame(Document& document) : document_(document) {}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::Create() {
    HICON icon = LoadIconW(ResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    accelerators_ = LoadAcceleratorsW(ResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    HMENU menu = LoadMenuW(ResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME));
    return CreateWindowOf(L"KavloMainFrame", AppTitle(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, menu, CS_DBLCLKS,
                          reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), icon);
}

bool CMainFrame::PreTranslate(MSG& msg) {
    if (!hwnd()) return false;
    const bool ours = msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd);
    if (ours && msg.message == WM_KEYDOWN && (msg.wParam == VK_F6 || msg.wParam == VK_TAB) &&
        GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        MoveFocus(msg.wParam == VK_F6, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    if (HWND find = TextView::FindDialog(); find && IsDialogMessageW(find, &msg)) return true;
    if (accelerators_ && ours && TranslateAcceleratorW(hwnd(), accelerators_, &msg)) return true;
    return false;
}

void CMainFrame::MoveFocus(bool betweenPanes, bool backwards) {
    HWND tree = leftView_ ? leftView_->tree().hwnd() : nullptr;
    ContentView* right = splitter_.RightView();
    HWND pane = right ? right->hwnd() : nullptr;
    HWND focus = GetFocus();
    const bool inRight = pane && focus && (focus == pane || IsChild(pane, focus));
    auto firstInRight = [&](bool last) -> HWND {
        if (!pane) return nullptr;
        HWND first = GetNextDlgTabItem(pane, nullptr, FALSE);
        if (!first || !IsWindowVisible(first)) return nullptr;
        return last ? GetNextDlgTabItem(pane, first, TRUE) : first;
    };
    HWND target = nullptr;
    if (!inRight) {
        target = firstInRight(backwards && !betweenPanes);
    } else if (!betweenPanes) {
        // Tab walks the right pane's controls and then returns to the tree.
        HWND edge = firstInRight(!backwards);
        target = focus == edge ? tree : GetNextDlgTabItem(pane, focus, backwards);
    } else {
        target = tree;
    }
    if (!target) target = tree;
    if (target) SetFocus(target);
}

// ------------------------------------------------------------------ creation

bool CMainFrame::OnCreate() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_TOP, 0, 0, 0, 0, hwnd(),
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDR_MAINFRAME)), ResourceModule(), nullptr);
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    {
        toolbarImages_.Reset(ImageList_Create(16, 15, ILC_COLOR24 | ILC_MASK, 7, 0));
        UniqueBitmap strip(static_cast<HBITMAP>(
            LoadImageW(ResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        ImageList_AddMasked(toolbarImages_.get(), strip.get(), RGB(255, 0, 255));
        SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(toolbarImages_.get()));
    }
    std::vector<TBBUTTON> buttons;
    for (const ToolButton& b : kToolButtons) {
        TBBUTTON button{};
        button.iBitmap = b.image < 0 ? 0 : b.image;
        button.idCommand = b.command;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = b.image < 0 ? BTNS_SEP : BTNS_BUTTON;
        buttons.push_back(button);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);

    status_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(0xE801)), ResourceModule(), nullptr);
    ShowPrompt(0);

    if (!splitter_.Create(hwnd(), kSplitterId)) return false;
    leftView_ = std::make_unique<NavigationView>(document_, *this);
    if (!leftView_->Create(splitter_.hwnd())) return false;
    splitter_.SetLeftPane(leftView_->hwnd());
    splitter_.ReplaceView<CKavloView>();

    LoadRecentFiles();
    RefreshRecentMenu();
    UpdateTitle();
    return true;
}

void CMainFrame::OnSize() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    int top = 0;
    int bottom = client.bottom;
    if (toolbar_ && IsWindowVisible(toolbar_)) {
        SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
        RECT bar{};
        GetWindowRect(toolbar_, &bar);
        top = bar.bottom - bar.top;
    }
    if (status_ && IsWindowVisible(status_)) {
        SendMessageW(status_, WM_SIZE, 0, 0);
        RECT bar{};
        GetWindowRect(status_, &bar);
        bottom -= bar.bottom - bar.top;
        const int width = client.right;
        int parts[2] = {std::max(0, width - Scale(hwnd(), 260)), -1};
        SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    }
    if (splitter_.hwnd()) MoveWindow(splitter_.hwnd(), 0, top, client.right, std::max(0, bottom - top), TRUE);
}

// ----------------------------------------------------------------- the views

ContentView* CMainFrame::ReplaceRightView(ViewKind kind) {
    switch (kind) {
        case ViewKind::List: return splitter_.ReplaceView<ListPane>();
        case ViewKind::Text: return splitter_.ReplaceView<TextPane>();
        case ViewKind::Tree: return splitter_.ReplaceView<TreePane>();
        case ViewKind::Refresh: return splitter_.ReplaceView<ProgressPane>();
        case ViewKind::ExpTree: return splitter_.ReplaceView<ExpandableTreePane>();
        case ViewKind::ExpTreeText: return splitter_.ReplaceView<ExpandableTreeTextPane>();
    }
    return splitter_.RightView();
}

void CMainFrame::UpdateAllViews(int hint) {
    if (ContentView* view = splitter_.RightView()) view->OnUpdate(hint);
    UpdateToolbarStates();
}

std::wstring CMainFrame::StatusText(int pane) const {
    const LRESULT length = SendMessageW(status_, SB_GETTEXTLENGTHW, static_cast<WPARAM>(pane), 0);
    std::wstring text(LOWORD(length) + 1, L'\0');
    SendMessageW(status_, SB_GETTEXTW, static_cast<WPARAM>(pane), reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(length));
    return text;
}

void CMainFrame::UpdateTitle() {
    const std::wstring title = Widen(document_.Title()) + L" - " + AppTitle();
    SetWindowTextW(hwnd(), title.c_str());
}

// ------------------------------------------------------------------ messages

LRESULT CMainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE: return OnCreate() ? 0 : -1;
        case WM_SIZE: OnSize(); return 0;
        case WM_COMMAND: OnCommand(LOWORD(wParam)); return 0;
        case WM_INITMENUPOPUP: OnInitMenuPopup(reinterpret_cast<HMENU>(wParam)); return 0;
        case WM_MENUSELECT: OnMenuSelect(LOWORD(wParam), HIWORD(wParam)); return 0;
        case WM_EXITMENULOOP: ShowPrompt(0); return 0;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->code == TTN_GETDISPINFOW) {
                // Tool tips: the part of the command's prompt after its "\n".
                auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                static std::wstring text;
                const std::wstring_view prompt = LoadStringView(static_cast<UINT>(header->idFrom));
                const std::size_t newline = prompt.find(L'\n');
                text = std::wstring(newline == std::wstring_view::npos ? prompt : prompt.substr(newline + 1));
                tip->lpszText = text.data();
                return 0;
            }
            break;
        }
        case WM_SETFOCUS:
            if (leftView_) SetFocus(leftView_->hwnd());
            return 0;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            return 0;
        }
        case WM_CLOSE:
            if (!ConfirmClose()) return 0;
            if (leftView_) leftView_->WaitForGathering();
            DestroyWindow(hwnd());
            return 0;
        case WM_DESTROY:
            SaveRecentFiles();
            PostQuitMessage(0);
            return 0;
        default: break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void CMainFrame::ShowPrompt(UINT id) {
    if (!status_) return;
    std::wstring text;
    if (id != 0) {
        const std::wstring_view prompt = LoadStringView(id);
        text = std::wstring(prompt.substr(0, prompt.find(L'\n')));
    }
    if (text.empty()) text = std::wstring(LoadStringView(IDS_READY));
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void CMainFrame::OnMenuSelect(UINT id, UINT flags) {
    if (flags == 0xFFFF || (flags & (MF_POPUP | MF_SEPARATOR))) {
        ShowPrompt(0);
        return;
    }
    ShowPrompt(id);
}

TextView* CMainFrame::PrintableText() const {
    ContentView* view = splitter_.RightView();
    return view ? view->TextControl() : nullptr;
}

void CMainFrame::OnInitMenuPopup(HMENU menu) {
    const bool hasText = PrintableText() != nullptr;
    const bool checkboxes = leftView_ && leftView_->checkboxMode();
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        bool enabled = true;
        bool checked = false;
        switch (id) {
            case ID_EDIT_SELECT_ALL:
            case ID_VIEW_REFRESH:
                enabled = false;  // no command is bound to these
                break;
            case ID_EDIT_COPY:
            case ID_FILE_PRINT:
            case ID_FILE_PRINT_PREVIEW: enabled = hasText; break;
            case ID_CHECKBOXES_DISPLAY:
                enabled = !checkboxes;
                checked = checkboxes;
                break;
            case ID_CHECKBOXES_CHECKALL:
            case ID_CHECKBOXES_UNCHECKALL: enabled = checkboxes; break;
            case ID_VIEW_TOOLBAR: checked = toolbar_ && IsWindowVisible(toolbar_); break;
            case ID_VIEW_STATUS_BAR: checked = status_ && IsWindowVisible(status_); break;
            default: continue;
        }
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}

void CMainFrame::UpdateToolbarStates() {
    if (!toolbar_) return;
    const bool hasText = PrintableText() != nullptr;
    SendMessageW(toolbar_, TB_ENABLEBUTTON, ID_EDIT_COPY, MAKELPARAM(hasText, 0));
    SendMessageW(toolbar_, TB_ENABLEBUTTON, ID_FILE_PRINT, MAKELPARAM(hasText, 0));
    const bool checkboxes = leftView_ && leftView_->checkboxMode();
    SendMessageW(toolbar_, TB_ENABLEBUTTON, ID_CHECKBOXES_DISPLAY, MAKELPARAM(!checkboxes, 0));
}

// ------------------------------------------------------------------ commands

void CMainFrame::OnCommand(int id) {
    if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST) {
        const std::size_t index = static_cast<std::size_t>(id - ID_FILE_MRU_FILE1);
        if (index < recentFiles_.size()) OpenReport(recentFiles_[index]);
        return;
    }
    switch (id) {
        case ID_FILE_OPEN: CommandOpen(); break;
        case ID_FILE_SAVE: CommandSave(); break;
        case ID_FILE_SAVE_AS: CommandSaveAs(); break;
        case ID_FILE_PRINT:
            if (TextView* text = PrintableText()) PrintText(hwnd(), text->text(), Widen(document_.Title()).c_str());
            break;
        case ID_FILE_PRINT_PREVIEW:
            if (TextView* text = PrintableText()) PreviewText(hwnd(), text->text());
            break;
        case ID_FILE_PRINT_SETUP: PrintSetup(hwnd()); break;
        case ID_FILE_SEND_MAIL: CommandSend(); break;
        case ID_APP_EXIT: PostMessageW(hwnd(), WM_CLOSE, 0, 0); break;
        case ID_EDIT_COPY: CommandCopy(); break;
        case ID_VIEW_CONTACT:
        case ID_CONTACT_BUTTON: CommandContact(); break;
        case ID_CHECKBOXES_DISPLAY:
            leftView_->DisplayCheckboxes();
            UpdateToolbarStates();
            break;
        case ID_CHECKBOXES_CHECKALL: leftView_->SetAllChecks(true); break;
        case ID_CHECKBOXES_UNCHECKALL: leftView_->SetAllChecks(false); break;
        case ID_VIEW_TOOLBAR:
            ShowWindow(toolbar_, IsWindowVisible(toolbar_) ? SW_HIDE : SW_SHOW);
            OnSize();
            break;
        case ID_VIEW_STATUS_BAR:
            ShowWindow(status_, IsWindowVisible(status_) ? SW_HIDE : SW_SHOW);
            OnSize();
            break;
        case ID_HELP_FINDER: CommandHelp(); break;
        case ID_APP_ABOUT: {
            AboutDialog about;
            about.RunModal(hwnd());
            break;
        }
        default: break;
    }
}

void CMainFrame::CommandOpen() {
    if (const auto path = AskOpenPath(hwnd(), ReportFilter())) OpenReport(*path);
}

bool CMainFrame::OpenReport(const std::string& path) {
    leftView_->WaitForGathering();
    HCURSOR old = SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_WAIT)));
    const DocOutcome outcome = document_.Open(path);
    SetCursor(old);
    if (!outcome.ok) {
        // The report being viewed stays as it was; a recent file that is gone leaves the list.
        if (!FileExists(path)) RemoveRecentFile(path);
        MessageBoxText(hwnd(), Widen(outcome.message).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    // The right pane borrowed titles of the catalog that the open replaced:
    // it goes before anything can paint it.
    ReplaceRightView(ViewKind::Refresh);
    ShowFileStatus(path);
    leftView_->RebuildAfterOpen();
    AddRecentFile(path);
    UpdateTitle();
    return true;
}

void CMainFrame::ShowFileStatus(const std::string& path) {
    SendMessageW(status_, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(Widen(FileStatusText(path)).c_str()));
}

void CMainFrame::ReportMoved(const std::string& from, const std::string& to) {
    document_.SetPathName(to);
    RemoveRecentFile(from);
    AddRecentFile(to);
    ShowFileStatus(to);
    UpdateTitle();
}

DocOutcome CMainFrame::SaveWithProgress(const std::string& path, HWND owner) {
    leftView_->WaitForGathering();
    DocOutcome outcome{false, ""};
    outcome.message = Narrow(LoadStringView(IDS_FAILED_TO_SAVE));
    ProgressDialog progress(document_.CountTitles(),
                            [&](ProgressSteps& steps) { outcome = document_.Save(path, steps); });
    progress.RunModal(owner);
    // The titles were gathered again: show the fresh content of the right pane.
    UpdateAllViews(kHintShowTitle);
    if (outcome.ok) {
        AddRecentFile(path);
        ShowFileStatus(path);
        UpdateTitle();
    }
    return outcome;
}

bool CMainFrame::SaveReport(const std::string& path) {
    const DocOutcome outcome = SaveWithProgress(path, hwnd());
    if (!outcome.ok) {
        MessageBoxText(hwnd(), Widen(outcome.message).c_str(), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CMainFrame::CommandSaveAs() {
    const auto path = AskSavePath(hwnd(), ReportFilter(), document_.pathName(), L"IFO");
    return path && SaveReport(*path);
}

void CMainFrame::CommandSave() {
    if (document_.pathName().empty()) {
        CommandSaveAs();
    } else {
        SaveReport(document_.pathName());
    }
}

void CMainFrame::CommandSend() {
    if (document_.pathName().empty()) {
        MessageBoxText(hwnd(), std::wstring(LoadStringView(IDS_SAVE_FIRST)).c_str());
        if (!CommandSaveAs()) return;
    }
    switch (SendFileByMail(hwnd(), document_.pathName())) {
        case MailResult::NoMailClient:
            MessageBoxText(hwnd(), std::wstring(LoadStringView(IDS_NO_MAIL_CLIENT)).c_str(),
                           MB_OK | MB_ICONINFORMATION);
            break;
        case MailResult::Failed:
            MessageBoxText(hwnd(), L"The mail program could not send the report.", MB_OK | MB_ICONEXCLAMATION);
            break;
        default: break;
    }
}

void CMainFrame::CommandCopy() {
    if (ContentView* view = splitter_.RightView()) view->CopyText();
}

void CMainFrame::CommandContact() {
    ContactDialog dialog(document_.contact());
    if (dialog.RunModal(hwnd()) != IDOK) return;
    document_.SetContact(dialog.fields());
    // The information page carries the contact block: shown, it shows the new one.
    document_.BuildInfoPage();
    ContentView* view = splitter_.RightView();
    if (view && view->title() == &document_.infoPage()) UpdateAllViews(kHintShowTitle);
}

void CMainFrame::CommandHelp() {
    MessageBoxText(hwnd(),
                   L"Click a title in the tree on the left to gather its information; it is shown on the "
                   L"right when it is ready.\n\nFile, Save As writes all information into a report file "
                   L"(.IFO); File, Open shows a report saved earlier without gathering anything.\n\n"
                   L"View, Contact information edits the details that go into the report.",
                   MB_OK | MB_ICONINFORMATION);
}

bool CMainFrame::ConfirmClose() { return true; }

// ------------------------------------------------------------- recent files

void CMainFrame::LoadRecentFiles() {
    recentFiles_.clear();
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &raw) != ERROR_SUCCESS) return;
    UniqueKey key(raw);
    for (std::size_t i = 1; i <= kRecentFileCount; ++i) {
        const std::wstring name = L"File" + std::to_wstring(i);
        wchar_t value[MAX_PATH * 2] = {};
        DWORD size = sizeof value - sizeof(wchar_t);
        DWORD type = 0;
        if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
                ERROR_SUCCESS &&
            type == REG_SZ && value[0]) {
            recentFiles_.push_back(Narrow(value));
        }
    }
}

void CMainFrame::SaveRecentFiles() const {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    UniqueKey key(raw);
    for (std::size_t i = 0; i < recentFiles_.size(); ++i) {
        const std::wstring name = L"File" + std::to_wstring(i + 1);
        const std::wstring value = Widen(recentFiles_[i]);
        RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
}

void CMainFrame::RemoveRecentFile(const std::string& path) {
    std::erase_if(recentFiles_, [&](const std::string& p) { return _stricmp(p.c_str(), path.c_str()) == 0; });
    RefreshRecentMenu();
}

void CMainFrame::AddRecentFile(const std::string& path) {
    std::erase_if(recentFiles_, [&](const std::string& p) { return _stricmp(p.c_str(), path.c_str()) == 0; });
    recentFiles_.insert(recentFiles_.begin(), path);
    if (recentFiles_.size() > kRecentFileCount) recentFiles_.resize(kRecentFileCount);
    RefreshRecentMenu();
}

void CMainFrame::RefreshRecentMenu() {
    HMENU file = GetSubMenu(GetMenu(hwnd()), 0);
    if (!file) return;
    for (int id = ID_FILE_MRU_FILE1; id <= ID_FILE_MRU_LAST; ++id)
        DeleteMenu(file, static_cast<UINT>(id), MF_BYCOMMAND);
    auto isSeparator = [&](int position) {
        return position >= 0 && (GetMenuState(file, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) != 0;
    };
    // The list sits between two separators above "E&xit"; drop the second one with the list.
    const int exitPosition = GetMenuItemCount(file) - 1;
    if (isSeparator(exitPosition - 1) && isSeparator(exitPosition - 2)) {
        DeleteMenu(file, static_cast<UINT>(exitPosition - 1), MF_BYPOSITION);
    }
    if (recentFiles_.empty()) return;
    int position = GetMenuItemCount(file) - 1;
    for (std::size_t i = 0; i < recentFiles_.size(); ++i) {
        const std::wstring label = L"&" + std::to_wstring(i + 1) + L" " + Widen(recentFiles_[i]);
        InsertMenuW(file, static_cast<UINT>(position++), MF_BYPOSITION | MF_STRING,
                    static_cast<UINT_PTR>(ID_FILE_MRU_FILE1 + static_cast<int>(i)), label.c_str());
    }
    InsertMenuW(file, static_cast<UINT>(position), MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
}

}  // namespace kavlo::ui
