// The wizard from the greeting to "Finish", the report it writes and
// compresses, opening that report again, and the timed report mode.

#include <windows.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <commctrl.h>

#include "ui/app/document.h"
#include "ui/frame/dialogs.h"
#include "ui/frame/main_frame.h"
#include "ui/resource.h"
#include "ui/tests/sample_app.h"
#include "ui/timed/timed_dialog.h"
#include "ui/win/text.h"
#include "ui/wizard/wizard.h"

namespace kavlo::ui::testing {
namespace {

bool FileExists(const std::string& path) { return GetFileAttributesW(Widen(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring ItemText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override {
        app_ = std::make_unique<KavloApp>(SampleOptions());
        ASSERT_TRUE(app_->InitInstance());
        folder_ = FreshTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    void TearDown() override {
        if (app_ && app_->frame().hwnd()) DestroyWindow(app_->frame().hwnd());
        PumpFor(100);
        app_.reset();
    }
    SaveFunction Saver() {
        return [this](const std::string& path, HWND owner) { return app_->frame().SaveWithProgress(path, owner); };
    }
    MovedFunction Mover() {
        return [this](const std::string& from, const std::string& to) { app_->frame().ReportMoved(from, to); };
    }
    enum Page { kChoose, kContact, kSave, kCompress };
    static constexpr int kNotYet = -1;
    /// Runs the wizard; on the page `pages[step]` of each step `act(step, sheet, page)` returns the
    /// button to press, or kNotYet while the page is busy. Finish or Cancel ends the walk.
    bool Walk(ReportWizard& wizard, const std::vector<Page>& pages,
              const std::function<int(std::size_t, HWND, HWND)>& act) {
        std::size_t step = 0;
        TimerDriver driver([&] {
            HWND sheet = wizard.sheet();
            if (!sheet) return false;
            HWND page = PropSheet_GetCurrentPageHwnd(sheet);
            const HWND byPage[] = {wizard.choosePage().hwnd(), wizard.contactPage().hwnd(), wizard.savePage().hwnd(),
                                   wizard.compressPage().hwnd()};
            if (page != byPage[pages[step]]) return false;  // the press is still being handled
            const int button = act(step, sheet, page);
            if (button == kNotYet) return false;
            ++step;
            PropSheet_PressButton(sheet, button);
            return button == PSBTN_FINISH || button == PSBTN_CANCEL;
        });
        return wizard.Run(app_->frame().hwnd());
    }

    std::unique_ptr<KavloApp> app_;
    std::string folder_;
};

TEST_F(WizardTest, FromGreetingThroughAFailedSaveToFinishWritesACompressedReport) {
    ReportWizard wizard(app_->document(), Saver(), Mover());
    const std::string bad = folder_ + "\\no such folder\\customer.IFO";
    const std::string report = folder_ + "\\customer.IFO";
    std::wstring proposed, nameAfterBack, pathAfterBack, error, keptPath, finishText;
    const std::vector<Page> pages = {kChoose, kContact, kSave, kContact, kSave, kSave, kCompress};
    EXPECT_TRUE(Walk(wizard, pages, [&](std::size_t step, HWND sheet, HWND page) {
        switch (step) {
            case 0:
                EXPECT_EQ(IsDlgButtonChecked(page, IDC_MODE_RUN), BST_CHECKED);
                EXPECT_EQ(ItemText(page, IDC_WIZ_HEADING), L"Welcome to Quorvane's KAVLO v1.5");
                Screenshot(sheet, "wizard-1-welcome");
                return PSBTN_NEXT;
            case 1:
                SetDlgItemTextW(page, IDC_ENTER_NAME, L"Pat Example");
                SetDlgItemTextW(page, IDC_ENTER_CASE, L"4711");
                SetDlgItemTextW(page, IDC_ENTER_PHONE, L"555 0100");
                SetDlgItemTextW(page, IDC_ENTER_EMAIL, L"pat@example.com");
                SetDlgItemTextW(page, IDC_ENTER_ISSUE, L"Scans stop.\r\nEvery time.");
                return PSBTN_NEXT;
            case 2:  // back to the contact page once: what was typed stays
                EXPECT_EQ(app_->document().contact().name, "Pat Example");
                proposed = ItemText(page, IDC_SAVE_PATH);
                SetDlgItemTextW(page, IDC_SAVE_PATH, L"D:\\typed\\report.IFO");
                return PSBTN_BACK;
            case 3: nameAfterBack = ItemText(page, IDC_ENTER_NAME); return PSBTN_NEXT;
            case 4:
                pathAfterBack = ItemText(page, IDC_SAVE_PATH);
                SetDlgItemTextW(page, IDC_SAVE_PATH, Widen(bad).c_str());
                return PSBTN_NEXT;
            case 5:  // a failed save stays on the page with the path and the reason
                error = ItemText(page, IDC_SAVE_ERROR);
                if (error.empty()) return kNotYet;  // the save is still running
                keptPath = ItemText(page, IDC_SAVE_PATH);
                Screenshot(sheet, "wizard-3-save-error");
                SetDlgItemTextW(page, IDC_SAVE_PATH, Widen(report).c_str());
                return PSBTN_NEXT;
            default:  // the last page, after the save
                finishText = ItemText(page, IDC_COMPRESS_TEXT);
                return PSBTN_FINISH;
        }
    }));
    // The sample machine: Windows in C:\WINNT, computer OFFICE7, clock at 10:32 on 14 May 2002.
    EXPECT_EQ(proposed, L"C:\\OFFICE7__05_14_2002__10_32_AM.IFO");
    EXPECT_EQ(nameAfterBack, L"Pat Example");
    EXPECT_EQ(pathAfterBack, L"D:\\typed\\report.IFO");
    EXPECT_EQ(keptPath, Widen(bad));
    EXPECT_NE(error.find(Widen(bad)), std::wstring::npos) << Narrow(error);
    EXPECT_EQ(finishText,
              Widen("Please send the file " + report + ".gz to Quorvane's technical support for analysis."));
    EXPECT_TRUE(FileExists(report + ".gz"));
    EXPECT_FALSE(FileExists(report)) << "the compressed file replaces the report";
    EXPECT_EQ(app_->frame().recentFiles().front(), report + ".gz");
    EXPECT_EQ(app_->frame().StatusText(1), L"File: customer.IFO.gz");
}

TEST_F(WizardTest, CancelKeepsNothingTyped) {
    ReportWizard wizard(app_->document(), Saver());
    const std::string storedName = app_->document().contact().name;
    EXPECT_FALSE(Walk(wizard, {kChoose, kContact, kSave}, [](std::size_t step, HWND, HWND page) {
        if (step == 1) SetDlgItemTextW(page, IDC_ENTER_NAME, L"Typed Name");
        return step == 2 ? PSBTN_CANCEL : PSBTN_NEXT;
    }));
    EXPECT_EQ(app_->document().contact().name, storedName) << "only Finish keeps the details";
}

TEST_F(WizardTest, ReportOpensFromTheCommandLineOrTheFrameAndAFailedOpenKeepsTheTree) {
    const std::string report = folder_ + "\\saved report.IFO";
    ASSERT_TRUE(app_->frame().SaveWithProgress(report, app_->frame().hwnd()).ok);
    {
        // Named on the command line, quoted or not, it opens without the wizard;
        // a message box or the wizard would be a failure (closed here).
        std::wstring unexpected;
        TimerDriver driver([&] {
            HWND box = FindWindowW(L"#32770", nullptr);
            if (box && IsWindowVisible(box)) {
                unexpected = WindowText(box) + L": " + WindowText(GetDlgItem(box, 0xFFFF));
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            }
            return false;
        });
        for (const std::wstring& line : {L"\"" + Widen(report) + L"\"", Widen(report)}) {
            AppOptions options = SampleOptions(line);
            options.showWizard = true;
            KavloApp viewer(options);
            ASSERT_TRUE(viewer.InitInstance());
            EXPECT_TRUE(viewer.openedFromCommandLine()) << Narrow(line);
            EXPECT_TRUE(viewer.RunStartDialogs()) << "the main window stays without a wizard";
            HWND tree = viewer.frame().leftView().tree().hwnd();
            EXPECT_EQ(TreeItemText(tree, TreeView_GetRoot(tree)), L"OFFICE7  [file]");
            EXPECT_NE(WindowText(viewer.frame().hwnd()).find(L"[file]"), std::wstring::npos);
            DestroyWindow(viewer.frame().hwnd());
            PumpFor(100);
        }
        EXPECT_EQ(unexpected, L"");
    }
    std::string gz;
    ASSERT_TRUE(app_->document().Compress(report, &gz).ok);

    SendMessageW(app_->frame().hwnd(), WM_COMMAND, ID_CHECKBOXES_DISPLAY, 0);
    ASSERT_TRUE(app_->frame().OpenReport(gz));
    HWND tree = app_->frame().leftView().tree().hwnd();
    EXPECT_TRUE(app_->frame().leftView().IsChecked(app_->frame().leftView().rootKey()))
        << "check-box mode keeps its boxes checked after an open";
    HTREEITEM root = TreeView_GetRoot(tree);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(TreeItemText(tree, root), L"OFFICE7  [file]");
    EXPECT_EQ(app_->frame().StatusText(1), L"File: saved report.IFO.gz");
    EXPECT_STREQ(app_->frame().rightView()->RuntimeClass(), "TextPane");
    EXPECT_EQ(app_->frame().rightView()->TextControl()->text().rfind("Current Date: ", 0), 0u);
    EXPECT_EQ(app_->frame().recentFiles().front(), gz);

    // Opening it again once it is gone says so, keeps what is shown and drops the recent file.
    DeleteFileW(Widen(gz).c_str());
    const std::wstring title = WindowText(app_->frame().hwnd());
    std::wstring message;
    TimerDriver driver(CloseMessageBoxReading(message));
    SendMessageW(app_->frame().hwnd(), WM_COMMAND, ID_FILE_MRU_FILE1, 0);
    EXPECT_NE(message.find(Widen(gz)), std::wstring::npos) << Narrow(message);
    EXPECT_EQ(TreeItemText(tree, TreeView_GetRoot(tree)), L"OFFICE7  [file]") << "the tree stays";
    EXPECT_EQ(WindowText(app_->frame().hwnd()), title);
    for (const std::string& recent : app_->frame().recentFiles()) EXPECT_NE(recent, gz);
}

TEST_F(WizardTest, ProgressDialogStepsAndKeepsAnswering) {
    int range = 0;
    int first = 0;
    int afterPump = 0;
    std::wstring section;
    ProgressDialog progress(7, [&](ProgressSteps& steps) {
        HWND dialog = FindWindowW(L"#32770", L"Gathering info for save");
        ASSERT_NE(dialog, nullptr);
        HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
        range = static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0));
        steps.Step("System - Memory");
        first = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
        section = ItemText(dialog, IDC_PROGRESS_SECTION);
        // A message posted now is handled inside the next step: the dialog answers between titles.
        PostMessageW(bar, PBM_SETPOS, 5, 0);
        steps.Step("System - Environment");
        afterPump = static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0));
    });
    EXPECT_EQ(progress.RunModal(app_->frame().hwnd()), IDOK);
    EXPECT_EQ(range, 7);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(section, L"System - Memory");
    EXPECT_EQ(afterPump, 5);
}

// ---------------------------------------------------------------- timed mode

TEST(TimedModeTest, SavesAtOnceIntoTheReportDirectory) {
    const std::string folder = FreshTempFolder("timed");
    KavloApp app(SampleOptions(L"/min:30 /dir:" + Widen(folder)));
    ASSERT_TRUE(app.InitInstance());
    ASSERT_TRUE(app.timedSettings().timed);
    std::wstring interval;
    std::wstring lastSave;
    std::wstring directory;
    TimerDriver driver([&] {
        HWND dialog = FindWindowW(L"#32770", L"KAVLO Timed Report Mode");
        if (!dialog) return false;
        lastSave = ItemText(dialog, IDC_TIMED_LASTSAVE);
        if (lastSave.empty()) return false;
        interval = ItemText(dialog, IDC_TIMED_INTERVAL);
        directory = ItemText(dialog, IDC_TIMED_DIRECTORY);
        Screenshot(dialog, "timed-mode");
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_FALSE(app.RunStartDialogs()) << "the program ends when the timed dialog closes";
    EXPECT_EQ(interval, L"30 minutes");
    EXPECT_EQ(directory, Widen(folder));
    EXPECT_EQ(lastSave, L"05/14/02 10:32:05");
    // Computer name, a blank, the time, ".IFO", after a separator.
    EXPECT_TRUE(FileExists(folder + "\\OFFICE7 05_14_2002 10_32_AM.IFO"));
    DestroyWindow(app.frame().hwnd());
    PumpFor(100);
}

TEST(TimedModeTest, ZeroIntervalIsRefusedWithTheRange) {
    std::wstring message;
    TimerDriver driver(CloseMessageBoxReading(message));
    KavloApp app(SampleOptions(L"/min:0"));
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.exitCode(), 2);
    EXPECT_EQ(message, L"The parameter \"min:0\" needs an interval of 1 to 71582 minutes.");
}

}  // namespace
}  // namespace kavlo::ui::testing
