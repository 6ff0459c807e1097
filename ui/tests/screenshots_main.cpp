// kavlo_screenshots.exe OUTDIR: starts kavlo's windows on the bundled sample
// machine and saves PNG pictures of the main window with each view kind and of
// each wizard page (tools/screenshots.sh runs it under Wine and Xvfb).

#include <windows.h>
#include <prsht.h>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "ui/app/app.h"
#include "ui/frame/dialogs.h"
#include "ui/frame/main_frame.h"
#include "present/timed_mode.h"
#include "ui/resource.h"
#include "ui/tests/ui_driver.h"
#include "ui/timed/timed_dialog.h"
#include "ui/views/content_view.h"
#include "ui/win/text.h"
#include "ui/wizard/wizard.h"

using namespace kavlo::ui;
using namespace kavlo::ui::testing;

namespace {

std::string g_out;
int g_failures = 0;

void Shot(HWND window, const char* name) {
    const std::string path = g_out + "\\" + name + ".png";
    if (SaveWindowPng(window, path)) {
        std::printf("saved %s\n", path.c_str());
    } else {
        std::printf("FAILED %s\n", path.c_str());
        ++g_failures;
    }
}

bool ShowTitle(CMainFrame& frame, const std::wstring& script, const std::wstring& title, const char* viewClass) {
    HTREEITEM item = FindSampleTitle(frame.leftView().tree().hwnd(), script, title);
    if (item) ClickTreeItem(frame.leftView().tree().hwnd(), item);
    const bool shown =
        item && PumpUntil([&] {
            ContentView* view = frame.rightView();
            return view && std::string(view->RuntimeClass()) == viewClass && !frame.leftView().gathering();
        });
    if (!shown) std::printf("view %s did not appear for %ls / %ls\n", viewClass, script.c_str(), title.c_str());
    PumpFor(300);
    return shown;
}

}  // namespace

int main(int argc, char** argv) {
    g_out = argc > 1 ? argv[1] : ".";
    KavloApp app(SampleOptions());
    if (!app.InitInstance()) return 1;
    CMainFrame& frame = app.frame();
    MoveWindow(frame.hwnd(), 0, 0, 1100, 720, TRUE);
    PumpFor(500);
    Shot(frame.hwnd(), "main-information-page");

    struct Case {
        const wchar_t* script;
        const wchar_t* title;
        const char* viewClass;
        const char* file;
    };
    const Case cases[] = {
        {L"System", L"", "TextPane", "main-script-information"},
        {L"System", L"Windows version", "TextPane", "view-text"},
        {L"System", L"System files", "ListPane", "view-list-filelist"},
        {L"Network", L"Internet settings", "ListPane", "view-list-columns"},
        {L"Ostrell", L"Configuration", "TreePane", "view-tree"},
        {L"System", L"Installed programs", "ExpandableTreePane", "view-exptree"},
        {L"Fernway", L"Settings and logs", "ExpandableTreeTextPane", "view-exptreetext"},
    };
    for (const Case& c : cases) {
        if (!ShowTitle(frame, c.script, c.title, c.viewClass)) ++g_failures;
        if (std::string(c.viewClass).rfind("ExpandableTreePane", 0) == 0) {
            // The first node below the top shows its entries.
            HWND tree = GetDlgItem(frame.rightView()->hwnd(), IDC_TREE);
            if (HTREEITEM top = TreeView_GetRoot(tree)) {
                if (HTREEITEM child = TreeView_GetChild(tree, top)) TreeView_SelectItem(tree, child);
            }
            PumpFor(300);
        }
        if (std::string(c.viewClass) == "TreePane") {
            // Everything open, so that the check items and their images show.
            HWND tree = GetDlgItem(frame.rightView()->hwnd(), IDC_TREE);
            std::vector<HTREEITEM> items{TreeView_GetRoot(tree)};
            while (!items.empty()) {
                HTREEITEM item = items.back();
                items.pop_back();
                if (!item) continue;
                TreeView_Expand(tree, item, TVE_EXPAND);
                items.push_back(TreeView_GetNextSibling(tree, item));
                items.push_back(TreeView_GetChild(tree, item));
            }
            PumpFor(300);
        }
        if (std::string(c.viewClass) == "ListPane") {
            // Sorted by the first column, descending, to show the sort mark.
            HWND list = GetDlgItem(frame.rightView()->hwnd(), IDC_LIST);
            ClickColumnHeader(list, 0);
            PumpFor(200);
            ClickColumnHeader(list, 0);
            PumpFor(300);
        }
        Shot(frame.hwnd(), c.file);
    }
    frame.ReplaceRightView(ViewKind::Refresh);
    PumpFor(600);
    Shot(frame.hwnd(), "view-refresh");
    frame.leftView().ShowInformationPage();

    // The About box and the contact information dialog.
    for (const auto& [command, caption, file] :
         {std::tuple{ID_APP_ABOUT, L"About KAVLO", "dialog-about"},
          std::tuple{ID_VIEW_CONTACT, L"Contact information", "dialog-contact"}}) {
        TimerDriver closer([&, caption = caption, file = file] {
            HWND dialog = FindWindowW(L"#32770", caption);
            if (!dialog) return false;
            PumpFor(300);
            Shot(dialog, file);
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return true;
        });
        SendMessageW(frame.hwnd(), WM_COMMAND, command, 0);
    }

    // The four check states side by side.
    {
        kavlo::TitleRecord checks("Check states", nullptr);
        checks.kind = "tree";
        checks.runPending = 0;
        kavlo::ResultNode& options = checks.Root().AddChild("Scan options");
        for (const char* item :
             {"||00Checked", "||01Unchecked", "||04Checked and locked", "||06Unchecked and locked"}) {
            options.AddChild(item);
        }
        ContentView* view = frame.ReplaceRightView(ViewKind::Tree);
        view->ShowTitle(&checks);
        frame.UpdateAllViews(kHintShowTitle);
        PumpFor(400);
        Shot(frame.hwnd(), "view-check-states");
        frame.leftView().ShowInformationPage();
        PumpFor(200);
    }

    // The wizard, page by page.
    const std::string folder = FreshTempFolder("shots");
    ReportWizard wizard(app.document(),
                        [&](const std::string& path, HWND owner) { return frame.SaveWithProgress(path, owner); });
    int page = 0;
    bool triedBadPath = false;
    TimerDriver driver([&] {
        HWND sheet = wizard.sheet();
        if (!sheet) return false;
        HWND current = PropSheet_GetCurrentPageHwnd(sheet);
        PumpFor(400);
        switch (page) {
            case 0:
                if (current != wizard.choosePage().hwnd()) return false;
                Shot(sheet, "wizard-1-welcome");
                break;
            case 1:
                if (current != wizard.contactPage().hwnd()) return false;
                SetDlgItemTextW(current, IDC_ENTER_NAME, L"Pat Example");
                SetDlgItemTextW(current, IDC_ENTER_CASE, L"2001-0314");
                SetDlgItemTextW(current, IDC_ENTER_PHONE, L"555 0100");
                SetDlgItemTextW(current, IDC_ENTER_EMAIL, L"pat@example.com");
                SetDlgItemTextW(current, IDC_ENTER_ISSUE, L"Scans stop at 40 percent.");
                Shot(sheet, "wizard-2-contact");
                break;
            case 2:
                if (current != wizard.savePage().hwnd()) return false;
                if (!triedBadPath) {
                    Shot(sheet, "wizard-3-save");
                    // A folder that does not exist: the page stays with the reason.
                    SetDlgItemTextW(current, IDC_SAVE_PATH, Widen(folder + "\\missing\\OFFICE7 report.IFO").c_str());
                    triedBadPath = true;
                    PropSheet_PressButton(sheet, PSBTN_NEXT);
                    return false;
                }
                if (WindowText(GetDlgItem(current, IDC_SAVE_ERROR)).empty()) return false;
                Shot(sheet, "wizard-3-save-error");
                SetDlgItemTextW(current, IDC_SAVE_PATH, Widen(folder + "\\OFFICE7 report.IFO").c_str());
                break;
            case 3:
                if (current != wizard.compressPage().hwnd()) return false;
                Shot(sheet, "wizard-4-finished");
                PropSheet_PressButton(sheet, PSBTN_FINISH);
                return true;
            default: return true;
        }
        ++page;
        PropSheet_PressButton(sheet, PSBTN_NEXT);
        return false;
    });
    wizard.Run(frame.hwnd());

    // The timed report dialog, saving into the temporary folder.
    TimedSettings timed = ParseTimedSettings({"min:30", "dir:" + folder}, "C:\\");
    TimedDialog dialog(app.document(), timed,
                       [&](const std::string& path, HWND owner) { return frame.SaveWithProgress(path, owner); });
    TimerDriver timedDriver([&] {
        if (!dialog.hwnd() || dialog.saves() == 0) return false;
        PumpFor(300);
        Shot(dialog.hwnd(), "timed-mode");
        PostMessageW(dialog.hwnd(), WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    dialog.RunModal(frame.hwnd());

    std::printf("%d failure(s)\n", g_failures);
    DestroyWindow(frame.hwnd());
    return g_failures == 0 ? 0 : 1;
}
