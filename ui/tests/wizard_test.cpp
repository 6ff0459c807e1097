// The wizard from the greeting to "Finish", the report it writes and
// compresses, opening that report again, and the timed report mode.

#include <windows.h>
#include <prsht.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include <commctrl.h>

#include "ui/app/document.h"
#include "ui/frame/dialogs.h"
#include "ui/frame/main_frame.h"
#include "ui/resource.h"
#include "ui/tests/ui_driver.h"
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

    std::unique_ptr<KavloApp> app_;
    std::string folder_;
};

TEST_F(WizardTest, FromGreetingToFinishWritesACompressedReport) {
    ReportWizard wizard(app_->document(), Saver());
    const std::string report = folder_ + "\\customer.IFO";
    int step = 0;
    std::wstring proposed;
    std::wstring finishText;
    bool sawBackToContact = false;
    TimerDriver driver([&] {
        HWND sheet = wizard.sheet();
        if (!sheet) return false;
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        switch (step) {
        case 0:  // greeting
            if (page != wizard.page1().hwnd()) return false;
            EXPECT_EQ(IsDlgButtonChecked(page, IDC_P1_RUN), BST_CHECKED);
            EXPECT_EQ(ItemText(page, IDC_WIZ_HEADING), L"Welcome to Quorvane's KAVLO v1.5");
            break;
        case 1:  // contact information
            if (page != wizard.page2().hwnd()) return false;
            SetDlgItemTextW(page, IDC_P2_NAME, L"Pat Example");
            SetDlgItemTextW(page, IDC_P2_CASE, L"4711");
            SetDlgItemTextW(page, IDC_P2_PHONE, L"555 0100");
            SetDlgItemTextW(page, IDC_P2_EMAIL, L"pat@example.com");
            SetDlgItemTextW(page, IDC_P2_ISSUE, L"Scans stop.\r\nEvery time.");
            break;
        case 2:  // save page, then back to the contact page once
            if (page != wizard.page4().hwnd()) return false;
            EXPECT_EQ(app_->document().contact().name, "Pat Example");
            EXPECT_EQ(app_->document().contact().caseNumber, "4711");
            if (!sawBackToContact) {
                sawBackToContact = true;
                PropSheet_PressButton(sheet, PSBTN_BACK);
                step = 1;
                return false;
            }
            proposed = ItemText(page, IDC_P4_PATH);
            EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, IDC_P4_BROWSE)));
            SetDlgItemTextW(page, IDC_P4_PATH, Widen(report).c_str());
            break;
        case 3:  // finished
            if (page != wizard.page5().hwnd()) return false;
            finishText = ItemText(page, IDC_P5_TEXT);
            PropSheet_PressButton(sheet, PSBTN_FINISH);
            return true;
        default:
            return true;
        }
        ++step;
        PropSheet_PressButton(sheet, PSBTN_NEXT);
        return false;
    });
    EXPECT_TRUE(wizard.Run(app_->frame().hwnd()));
    // The sample machine: Windows in C:\WINNT, computer OFFICE7, clock at 10:32 on 14 May 2002.
    EXPECT_EQ(proposed, L"C:\\OFFICE7__05_14_2002__10_32_AM.IFO");
    EXPECT_EQ(finishText, Widen("Please send the file " + report + ".gz to Quorvane's technical support for analysis."));
    EXPECT_TRUE(FileExists(report + ".gz"));
    EXPECT_FALSE(FileExists(report)) << "the compressed file replaces the report";
}

TEST_F(WizardTest, ViewInformationLeavesWithCancel) {
    ReportWizard wizard(app_->document(), Saver());
    std::wstring secondChoice;
    TimerDriver driver([&] {
        HWND sheet = wizard.sheet();
        if (!sheet || PropSheet_GetCurrentPageHwnd(sheet) != wizard.page1().hwnd()) return false;
        HWND page = wizard.page1().hwnd();
        SendMessageW(GetDlgItem(page, IDC_P1_VIEW), BM_CLICK, 0, 0);
        PumpFor(100);
        secondChoice = ItemText(page, IDC_P1_VIEW);
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
        return true;
    });
    EXPECT_FALSE(wizard.Run(app_->frame().hwnd()));
    EXPECT_EQ(secondChoice, L"View information by clicking on the CANCEL button.");
    // The main window stays with the information page.
    ASSERT_NE(app_->frame().rightView(), nullptr);
    EXPECT_STREQ(app_->frame().rightView()->RuntimeClass(), "TextPane");
}

TEST_F(WizardTest, FailedSaveIsToldOnTheLastPage) {
    ReportWizard wizard(app_->document(), Saver());
    const std::string report = folder_ + "\\no such folder\\customer.IFO";
    std::wstring finishText;
    HWND pressedOn = nullptr;
    TimerDriver driver([&] {
        HWND sheet = wizard.sheet();
        if (!sheet) return false;
        HWND page = PropSheet_GetCurrentPageHwnd(sheet);
        if (page == wizard.page5().hwnd()) {
            finishText = ItemText(page, IDC_P5_TEXT);
            PropSheet_PressButton(sheet, PSBTN_FINISH);
            return true;
        }
        if (page == pressedOn) return false;  // the press is still being handled
        if (page == wizard.page4().hwnd()) SetDlgItemTextW(page, IDC_P4_PATH, Widen(report).c_str());
        pressedOn = page;
        PropSheet_PressButton(sheet, PSBTN_NEXT);
        return false;
    });
    wizard.Run(app_->frame().hwnd());
    EXPECT_NE(finishText.find(L"could not be saved"), std::wstring::npos) << "[" << Narrow(finishText) << "]";
    EXPECT_EQ(finishText.find(L".gz"), std::wstring::npos);
}

TEST_F(WizardTest, OpenedReportRebuildsTheTreeWithFileRoot) {
    const std::string report = folder_ + "\\saved.IFO";
    ASSERT_TRUE(app_->frame().SaveWithProgress(report, app_->frame().hwnd()).ok);
    std::string gz;
    ASSERT_TRUE(app_->document().Compress(report, &gz).ok);

    ASSERT_TRUE(app_->frame().OpenReport(gz));
    HWND tree = app_->frame().leftView().tree().hwnd();
    HTREEITEM root = TreeView_GetRoot(tree);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(TreeItemText(tree, root), L"OFFICE7  [file]");
    EXPECT_NE(FindChild(tree, root, L"System"), nullptr);
    EXPECT_EQ(app_->frame().StatusText(1), L"File: saved.IFO.gz");
    EXPECT_STREQ(app_->frame().rightView()->RuntimeClass(), "TextPane");
    EXPECT_EQ(RichTextOf(app_->frame().rightView()->RichText()).rfind("Current Date: ", 0), 0u);

    // A title of the opened report shows its stored content without gathering.
    HTREEITEM system = FindChild(tree, root, L"System");
    TreeView_Expand(tree, system, TVE_EXPAND);
    HTREEITEM version = FindChild(tree, system, L"Windows version");
    ASSERT_NE(version, nullptr);
    const std::uint32_t key = app_->frame().leftView().tree().KeyOf(version);
    ClickTreeItem(tree, version);
    ASSERT_TRUE(PumpUntil([&] {
        return app_->frame().leftView().currentKey() == key && !app_->frame().leftView().gathering() &&
               std::string(app_->frame().rightView()->RuntimeClass()) == "TextPane";
    }));
    EXPECT_NE(RichTextOf(app_->frame().rightView()->RichText()).find("Product: "), std::string::npos);
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

TEST_F(WizardTest, SaveFromTheFileMenuWritesTheReport) {
    ASSERT_TRUE(app_->frame().SaveReport(folder_ + "\\menu.IFO"));
    EXPECT_TRUE(FileExists(folder_ + "\\menu.IFO"));
    EXPECT_EQ(app_->document().pathName(), folder_ + "\\menu.IFO");
}

TEST_F(WizardTest, OpeningAMissingReportSaysSo) {
    std::wstring message;
    TimerDriver driver([&] {
        HWND box = FindWindowW(L"#32770", L"KAVLO");
        if (!box) return false;
        message = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    EXPECT_FALSE(app_->frame().OpenReport(folder_ + "\\missing.IFO"));
    EXPECT_FALSE(message.empty());
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
    TimerDriver driver([&] {
        HWND box = FindWindowW(L"#32770", L"KAVLO");
        if (!box) return false;
        message = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    KavloApp app(SampleOptions(L"/min:0"));
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(app.exitCode(), 2);
    EXPECT_EQ(message, L"The parameter \"min:0\" needs an interval of 1 to 71582 minutes.");
}

}  // namespace
}  // namespace kavlo::ui::testing
