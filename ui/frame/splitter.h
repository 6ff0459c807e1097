#pragma once
// CSplitter: one row, two columns; the left column holds the navigation view,
// the right one the content view, which is replaced by class.

#include <memory>
#include <string_view>

#include "ui/views/content_view.h"
#include "ui/win/window.h"

namespace kavlo::ui {

class CSplitter : public Window {
public:
    bool Create(HWND parent, int id);
    /// The window shown in column 0 (the splitter positions it, the caller owns it).
    void SetLeftPane(HWND left);

    /// Puts a view of class K into column 1 unless the pane already holds one;
    /// returns the view in the pane.
    template <class K>
    K* ReplaceView() {
        if (auto* same = dynamic_cast<K*>(right_.get())) return same;
        auto view = std::make_unique<K>();
        K* raw = view.get();
        Install(std::move(view));
        return raw;
    }
    ContentView* RightView() const { return right_.get(); }
    HWND LeftPane() const { return left_; }
    void Layout();
    int LeftWidth() const { return leftWidth_; }
    /// Sets the width the left column wants (at most half the window).
    void SetLeftWidth(int width);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Install(std::unique_ptr<ContentView> view);
    int BarWidth() const;

    HWND left_ = nullptr;
    std::unique_ptr<ContentView> right_;
    int leftWidth_ = -1;  // -1 until the first layout picks it
    int preferredLeft_ = 0;
    bool dragging_ = false;
};

}  // namespace kavlo::ui
