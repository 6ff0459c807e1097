#pragma once
// ReportWizard: the information-gathering wizard shown at every ordinary start. It
// greets the customer, takes the contact information, saves the report
// (gathering every title), compresses it and names the file to send.

#include <windows.h>
#include <prsht.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/app/document.h"
#include "present/report_paths.h"
#include "ui/win/handles.h"
#include "ui/win/window.h"

namespace kavlo::ui {

class CMainFrame;

/// Saves the document under the progress dialog; the wizard and the timed mode
/// get the outcome instead of a message box.
using SaveFunction = std::function<DocOutcome(const std::string& path, HWND owner)>;

class WizardPage : public Dialog {
public:
    WizardPage(int templateId, UINT headingId) : Dialog(templateId), headingId_(headingId) {}
    PROPSHEETPAGEW Describe();

protected:
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    /// PSN_SETACTIVE
    virtual void OnSetActive() {}
    /// PSN_WIZNEXT; false keeps the page.
    virtual bool OnNext() { return true; }
    void SetButtons(DWORD flags) const;
    HWND Sheet() const { return GetParent(hwnd()); }

private:
    UINT headingId_;
};

/// Greets the customer and lets them choose between the wizard and browsing.
class ChooseModePage : public WizardPage {
public:
    ChooseModePage();

protected:
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSetActive() override;

private:
    void ApplyChoice();
};

/// Takes the contact details. What was typed stays across Back and Next; Next
/// puts it into the report, and the wizard stores it only on Finish.
class EnterContactPage : public WizardPage {
public:
    explicit EnterContactPage(Document& document);

protected:
    void OnSetActive() override;
    bool OnNext() override;

private:
    Document& document_;
    bool filled_ = false;
};

/// Saves the report (gathering every title) to the path typed or proposed. A
/// failed save keeps the page, the path and the reason shown on it.
class SaveReportPage : public WizardPage {
public:
    SaveReportPage(Document& document, SaveFunction save);
    const std::string& reportPath() const { return reportPath_; }
    const DocOutcome& saveOutcome() const { return outcome_; }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSetActive() override;
    bool OnNext() override;

private:
    void Browse();

    Document& document_;
    SaveFunction save_;
    std::string reportPath_;
    DocOutcome outcome_{false, ""};
};

/// Tells the main window that the saved report now lives under another name.
using MovedFunction = std::function<void(const std::string& from, const std::string& to)>;

/// Compresses the saved report and names the file to send.
class CompressReportPage : public WizardPage {
public:
    CompressReportPage(Document& document, const SaveReportPage& savePage, MovedFunction moved);
    bool finished() const { return finished_; }
    const std::string& message() const { return message_; }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSetActive() override;

private:
    Document& document_;
    const SaveReportPage& savePage_;
    MovedFunction moved_;
    bool compressedOnce_ = false;
    bool finished_ = false;
    std::string message_;
};

class ReportWizard {
public:
    ReportWizard(Document& document, SaveFunction save, MovedFunction moved = {});
    /// Runs the wizard modally; true when it ended with "Finish". The contact
    /// details typed are stored on Finish and given up otherwise.
    bool Run(HWND owner);

    ChooseModePage& choosePage() { return choose_; }
    EnterContactPage& contactPage() { return contact_; }
    SaveReportPage& savePage() { return save_; }
    CompressReportPage& compressPage() { return compress_; }
    HWND sheet() const { return sheet_; }

private:
    static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);
    static LRESULT CALLBACK SheetPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);
    void PaintBanner(HWND sheet) const;

    Document& document_;
    ChooseModePage choose_;
    EnterContactPage contact_;
    SaveReportPage save_;
    CompressReportPage compress_;
    HWND sheet_ = nullptr;
    bool centred_ = false;
    UniqueBitmap picture_;
};

}  // namespace kavlo::ui
