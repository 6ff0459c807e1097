#pragma once
// The small dialogs of the main window: About, Contact information, and the
// progress dialog under which a save gathers every title.

#include <functional>
#include <string>

#include "ui/win/window.h"

namespace kavlo::ui {

class AboutDialog : public Dialog {
public:
    AboutDialog();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

/// The five contact fields as the dialogs edit them.
struct ContactFields {
    std::string caseNumber, name, phone, email, issue;
};

class ContactDialog : public Dialog {
public:
    explicit ContactDialog(ContactFields fields);
    const ContactFields& fields() const { return fields_; }

protected:
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ContactFields fields_;
};

/// What the gathering before a save reports to its progress dialog.
class ProgressSteps {
public:
    virtual ~ProgressSteps() = default;
    /// Before each title: shows "<script> - <title>", steps the bar and lets
    /// the window paint and move.
    virtual void Step(const std::string& section) = 0;
};

/// "Gathering info for save": runs `work` 200 ms after the dialog has opened,
/// then closes. The dialog cannot be closed while the work runs.
class ProgressDialog : public Dialog, private ProgressSteps {
public:
    ProgressDialog(int totalTitles, std::function<void(ProgressSteps&)> work);

protected:
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Step(const std::string& section) override;

    int totalTitles_;
    std::function<void(ProgressSteps&)> work_;
    bool running_ = false;
};

/// Lets waiting windows paint and move while the user-interface thread works.
void PumpPendingMessages();

}  // namespace kavlo::ui
