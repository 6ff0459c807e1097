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

class WelcomePage : public WizardPage {
public:
    WelcomePage();

protected:
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSetActive() override;

private:
    void ApplyChoice();
};

class ContactPage : public WizardPage {
public:
    explicit ContactPage(Document& document);

protected:
    void OnSetActive() override;
    bool OnNext() override;

private:
    Document& document_;
};

/// Constructed for completeness of the wizard's set; never among its pages.
class ReservedPage : public WizardPage {
public:
    ReservedPage();
};

class SavePage : public WizardPage {
public:
    SavePage(Document& document, SaveFunction save);
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

class SendPage : public WizardPage {
public:
    SendPage(Document& document, const SavePage& savePage);
    bool finished() const { return finished_; }
    const std::string& message() const { return message_; }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSetActive() override;

private:
    Document& document_;
    const SavePage& savePage_;
    bool compressedOnce_ = false;
    bool finished_ = false;
    std::string message_;
};

class ReportWizard {
public:
    ReportWizard(Document& document, SaveFunction save);
    /// Runs the wizard modally; true when it ended with "Finish".
    bool Run(HWND owner);

    WelcomePage& page1() { return p1_; }
    ContactPage& page2() { return p2_; }
    SavePage& page4() { return p4_; }
    SendPage& page5() { return p5_; }
    HWND sheet() const { return sheet_; }

private:
    static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);
    static LRESULT CALLBACK SheetPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);

    WelcomePage p1_;
    ContactPage p2_;
    ReservedPage p3_;
    SavePage p4_;
    SendPage p5_;
    HWND sheet_ = nullptr;
    UniqueBitmap picture_;
};

}  // namespace kavlo::ui
