#pragma once
// ProgressPane: shown while a title is gathered; a progress bar keeps moving.
// CKavloView: the empty list that fills the right pane before any selection.

#include "ui/views/content_view.h"

namespace kavlo::ui {

class ProgressPane : public ContentView {
public:
    ProgressPane();
    const char* RuntimeClass() const override { return "ProgressPane"; }
    void OnInitialUpdate() override;
    /// Stops the stepping timer (the gathered view is about to replace this one).
    void StopStepping();

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Layout(int width, int height) override;
};

class CKavloView : public ContentView {
public:
    CKavloView();
    const char* RuntimeClass() const override { return "CKavloView"; }

protected:
    void Layout(int width, int height) override;
};

}  // namespace kavlo::ui
