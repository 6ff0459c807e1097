#pragma once
// WIZ1: the information-gathering wizard shown at every ordinary start. It
// greets the customer, takes the contact information, saves the report
// (gathering every title), compresses it and names the file to send.

#include <windows.h>
#include <prsht.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/app/document.h"
#include "ui/model/report_paths.h"
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

class WIZ1_p1 : public WizardPage {
public:
    WIZ1_p1();

protected:
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSetActive() override;

private:
    void ApplyChoice();
};

class WIZ1_p2 : public WizardPage {
public:
    explicit WIZ1_p2(Document& document);

protected:
    void OnSetActive() override;
    bool OnNext() override;

private:
    Document& document_;
};

/// Constructed for completeness of the wizard's set; never among its pages.
class WIZ1_p3 : public WizardPage {
public:
    WIZ1_p3();
};

class WIZ1_p4 : public WizardPage {
public:
    WIZ1_p4(Document& document, SaveFunction save);
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

class WIZ1_p5 : public WizardPage {
public:
    WIZ1_p5(Document& document, const WIZ1_p4& savePage);
    bool finished() const { return finished_; }
    const std::string& message() const { return message_; }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSetActive() override;

private:
    Document& document_;
    const WIZ1_p4& savePage_;
    bool compressedOnce_ = false;
    bool finished_ = false;
    std::string message_;
};

class WIZ1 {
public:
    WIZ1(Document& document, SaveFunction save);
    /// Runs the wizard modally; true when it ended with "Finish".
    bool Run(HWND owner);

    WIZ1_p1& page1() { return p1_; }
    WIZ1_p2& page2() { return p2_; }
    WIZ1_p4& page4() { return p4_; }
    WIZ1_p5& page5() { return p5_; }
    HWND sheet() const { return sheet_; }

private:
    static int CALLBACK SheetCallback(HWND hwnd, UINT message, LPARAM lParam);
    static LRESULT CALLBACK SheetPaint(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data);

    WIZ1_p1 p1_;
    WIZ1_p2 p2_;
    WIZ1_p3 p3_;
    WIZ1_p4 p4_;
    WIZ1_p5 p5_;
    HWND sheet_ = nullptr;
    UniqueBitmap picture_;
};

}  // namespace kavlo::ui
