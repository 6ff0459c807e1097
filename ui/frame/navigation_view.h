#pragma once
// NavigationView: the navigation tree of the left pane. A mouse selection gathers the
// chosen title on a worker thread (one gathering at a time) and shows it in the
// right pane with the view for its kind.

#include <atomic>
#include <cstdint>
#include <optional>
#include <thread>

#include "ui/app/document.h"
#include "present/gather_queue.h"
#include "present/navigation_text.h"
#include "ui/views/content_view.h"
#include "ui/win/handles.h"
#include "ui/win/tree_control.h"
#include "ui/win/window.h"

namespace kavlo::ui {

/// The main frame's side of the left view: the right pane and the view updates.
class ViewHost {
public:
    virtual ~ViewHost() = default;
    /// Replaces the right pane's view by one of the kind (nothing when it already is).
    virtual ContentView* ReplaceRightView(ViewKind kind) = 0;
    virtual void UpdateAllViews(int hint) = 0;
};

class NavigationView : public Window {
public:
    NavigationView(Document& document, ViewHost& host) : document_(document), host_(host) {}
    ~NavigationView() override;

    bool Create(HWND parent);

    /// First update of a fresh document: builds the tree and shows the information page.
    void BuildForNewDocument();
    /// After an open: rebuilds the tree with the "[file]" root and shows the information page.
    void RebuildAfterOpen();
    /// Shows the information page in a text view (after the page was rebuilt).
    void ShowInformationPage();

    /// The width that shows the labels of the computer, scripts and titles whole.
    int PreferredWidth() const;
    /// A node chosen with the mouse or Enter (what the tree's notification does).
    void SelectByMouse(std::uint32_t key);
    /// Waits (keeping windows painted) until no title is being gathered.
    void WaitForGathering();
    bool gathering() const { return queue_.running(); }

    // Selection check boxes
    void DisplayCheckboxes();
    void SetAllChecks(bool checked);
    bool checkboxMode() const { return checkboxMode_; }
    bool IsChecked(std::uint32_t key) const;

    TreeControl& tree() { return tree_; }
    std::uint32_t rootKey() const { return rootKey_; }
    std::uint32_t currentKey() const { return currentKey_; }
    TitleRecord& scriptPage() { return scriptPage_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Gathering {
        TitleRecord* title = nullptr;
        ViewKind view = ViewKind::Text;
        std::uint64_t selection = 0;  ///< the selection it was started for
    };

    void OnSelectionChanged(HTREEITEM item, UINT action);
    void StartGathering(Gathering gathering);
    void Launch(const Gathering& gathering);
    void OnGatherTimer(UINT_PTR id);
    bool FinishWorker(DWORD waitMs);
    void ShowGathered(const Gathering& gathering);
    bool OnCheckboxClick();
    void SetChecksBelow(HTREEITEM item, bool checked);

    Document& document_;
    ViewHost& host_;
    TreeControl tree_;
    std::uint32_t rootKey_ = 0;
    std::uint32_t currentKey_ = 0;
    std::uint32_t previousKey_ = 0;
    bool checkboxMode_ = false;
    TitleRecord scriptPage_;

    GatherQueue<Gathering> queue_;
    Gathering running_;
    std::uint64_t selectionSerial_ = 0;
    std::thread worker_;
    std::atomic<bool> workerDone_{false};
    UniqueHandle info_;  ///< the completion signal "info"
    UINT_PTR timerId_ = 0;
};

}  // namespace kavlo::ui
