#pragma once
// The timed report mode's dialog (173): saves a fresh report 50 ms after it
// opens and again after every interval, until "CANCEL".

#include "ui/app/document.h"
#include "present/timed_mode.h"
#include "ui/wizard/wizard.h"
#include "ui/win/window.h"

namespace kavlo::ui {

class TimedDialog : public Dialog {
public:
    TimedDialog(Document& document, TimedSettings settings, SaveFunction save);
    /// The path of the last save and its outcome (for the status and tests).
    const std::string& lastPath() const { return lastPath_; }
    int saves() const { return saves_; }

protected:
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SaveNow();

    Document& document_;
    TimedSettings settings_;
    SaveFunction save_;
    std::string lastPath_;
    int saves_ = 0;
};

}  // namespace kavlo::ui
