#include "probes/registration.h"
#include "ui/frame/navigation_view.h"

#include <algorithm>
#include <vector>

#include "engine/script_engine.h"
#include "present/navigation_text.h"
#include "ui/resource.h"

namespace kavlo::ui {
namespace {

constexpr UINT kGatherPeriodMs = 2;
/// Re-applies a clicked check box's state after the control's own toggle.
constexpr UINT kApplyCheck = WM_APP + 1;
constexpr DWORD kSignalWaitMs = 50;

}  // namespace

NavigationView::~NavigationView() {
    if (worker_.joinable()) worker_.join();
    if (timerId_ && hwnd()) KillTimer(hwnd(), timerId_);
}

bool NavigationView::Create(HWND parent) {
    if (!CreateWindowOf(L"KavloLeftView", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0, 0, 0, parent,
                        nullptr)) {
        return false;
    }
    HWND tree = CreateWindowExW(
        WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS, 0, 0,
        0, 0, hwnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TREE)), ResourceModule(), nullptr);
    tree_.Attach(tree);
    SendMessageW(tree, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    return tree != nullptr;
}

// ------------------------------------------------------------------ building

void NavigationView::BuildForNewDocument() {
    WaitForGathering();
    checkboxMode_ = false;
    tree_.Clear();
    currentKey_ = previousKey_ = 0;
    rootKey_ = document_.FillNavigation(tree_);
    tree_.Expand(rootKey_);
    ShowInformationPage();
}

void NavigationView::RebuildAfterOpen() {
    WaitForGathering();
    tree_.Clear();
    currentKey_ = previousKey_ = 0;
    rootKey_ = document_.FillNavigation(tree_);
    // The opened report's nodes start checked, as "Display" leaves a fresh tree.
    SetAllChecks(true);
    tree_.Expand(rootKey_);
    tree_.Select(rootKey_);
    ShowInformationPage();
}

void NavigationView::ShowInformationPage() {
    ContentView* view = host_.ReplaceRightView(ViewKind::Text);
    view->ShowTitle(&document_.infoPage());
    host_.UpdateAllViews(kHintShowTitle);
}

// ----------------------------------------------------------------- selection

LRESULT NavigationView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: MoveWindow(tree_.hwnd(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE); return 0;
        case WM_SETFOCUS: SetFocus(tree_.hwnd()); return 0;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->hwndFrom == tree_.hwnd()) {
                if (header->code == TVN_SELCHANGEDW) {
                    const auto* change = reinterpret_cast<NMTREEVIEWW*>(lParam);
                    OnSelectionChanged(change->itemNew.hItem, change->action);
                    return 0;
                }
                if (header->code == NM_CLICK && checkboxMode_) return OnCheckboxClick() ? 1 : 0;
                // Enter chooses the highlighted node as a click does; arrows only move the highlight.
                if (header->code == TVN_KEYDOWN && reinterpret_cast<NMTVKEYDOWN*>(lParam)->wVKey == VK_RETURN) {
                    SelectByMouse(tree_.SelectedKey());
                    return 1;
                }
                if (header->code == NM_RETURN) return 1;  // handled on its key-down
            }
            break;
        }
        case WM_TIMER: OnGatherTimer(wParam); return 0;
        case kApplyCheck: SetChecksBelow(reinterpret_cast<HTREEITEM>(wParam), lParam != 0); return 0;
        case WM_DESTROY: WaitForGathering(); break;
        default: break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

void NavigationView::OnSelectionChanged(HTREEITEM item, UINT action) {
    // Keyboard moves only move the highlight; gathering follows mouse choices.
    if (action != TVC_BYMOUSE) return;
    SelectByMouse(tree_.KeyOf(item));
}

int NavigationView::PreferredWidth() const {
    // The widest label of the computer, script and title levels with its indent.
    WindowDc dc(tree_.hwnd());
    SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(tree_.hwnd(), WM_GETFONT, 0, 0)));
    const int indent = static_cast<int>(TreeView_GetIndent(tree_.hwnd()));
    int widest = 0;
    HTREEITEM root = TreeView_GetRoot(tree_.hwnd());
    struct Level {
        HTREEITEM item;
        int depth;
    };
    std::vector<Level> stack;
    for (HTREEITEM item = root; item; item = TreeView_GetNextSibling(tree_.hwnd(), item)) stack.push_back({item, 1});
    while (!stack.empty()) {
        const Level level = stack.back();
        stack.pop_back();
        const std::wstring text = tree_.Text(tree_.KeyOf(level.item));
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx) + indent * (level.depth + 1));
        if (level.depth >= 3) continue;
        for (HTREEITEM child = TreeView_GetChild(tree_.hwnd(), level.item); child;
             child = TreeView_GetNextSibling(tree_.hwnd(), child)) {
            stack.push_back({child, level.depth + 1});
        }
    }
    return widest + GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE);
}

void NavigationView::SelectByMouse(std::uint32_t key) {
    if (key == 0) return;
    ++selectionSerial_;
    if (currentKey_) tree_.SetBold(currentKey_, false);
    previousKey_ = currentKey_;
    currentKey_ = key;
    tree_.SetBold(currentKey_, true);

    host_.ReplaceRightView(ViewKind::Refresh);
    host_.UpdateAllViews(0);

    const NodeLookup found = document_.Find(key);
    if (found.title) {
        const std::optional<ViewKind> view = ViewForKind(found.title->kind);
        if (!view) return;  // a kind without a view keeps the refresh view
        StartGathering({found.title, *view, selectionSerial_});
    } else if (key == rootKey_ || found.root) {
        StartGathering({&document_.infoPage(), ViewKind::Text, selectionSerial_});
    } else if (found.script) {
        ContentView* text = host_.ReplaceRightView(ViewKind::Text);
        scriptPage_.kind = "text";
        scriptPage_.runPending = 0;
        scriptPage_.text = ScriptInfoPage(found.script->version, found.script->date, found.script->engine);
        text->ShowTitle(&scriptPage_);
        host_.UpdateAllViews(kHintShowTitle);
    }
}

// ----------------------------------------------------------------- gathering

void NavigationView::StartGathering(Gathering gathering) {
    if (!queue_.Submit(gathering)) return;  // starts when the running one ends
    Launch(gathering);
}

void NavigationView::Launch(const Gathering& gathering) {
    if (!info_) info_.Reset(CreateSemaphoreW(nullptr, 0, 1, L"info"));
    // A release that nobody took (another instance's) must not end this gathering early.
    while (info_ && WaitForSingleObject(info_.get(), 0) == WAIT_OBJECT_0) {
    }
    running_ = gathering;
    workerDone_ = false;
    TitleRecord* title = gathering.title;
    HANDLE signal = info_.get();
    AppContext& context = document_.context();
    worker_ = std::thread([this, title, signal, &context] {
        try {
            ScriptEngine engine(context, StandardCommandTable());
            engine.RunTitle(*title);
        } catch (const std::exception& error) {
            title->AppendText(std::string("\nThe information could not be gathered: ") + error.what() + "\n");
            title->runPending = 0;
        } catch (...) {
            title->AppendText("\nThe information could not be gathered.\n");
            title->runPending = 0;
        }
        workerDone_ = true;
        if (signal) ReleaseSemaphore(signal, 1, nullptr);
    });
    timerId_ = static_cast<UINT_PTR>(gathering.view);
    SetTimer(hwnd(), timerId_, kGatherPeriodMs, nullptr);
}

bool NavigationView::FinishWorker(DWORD waitMs) {
    if (!worker_.joinable()) return true;
    const bool signalled = info_ && WaitForSingleObject(info_.get(), waitMs) == WAIT_OBJECT_0;
    if (!workerDone_) {
        // The name is shared by every running copy of the program: a signal
        // while our worker still runs is another copy's, which gets it back.
        if (signalled) ReleaseSemaphore(info_.get(), 1, nullptr);
        return false;
    }
    worker_.join();
    return true;
}

void NavigationView::OnGatherTimer(UINT_PTR id) {
    if (id < 1 || id > 6 || id != timerId_) return;
    if (!FinishWorker(kSignalWaitMs)) return;
    KillTimer(hwnd(), timerId_);
    timerId_ = 0;
    const Gathering finished = running_;
    if (std::optional<Gathering> next = queue_.Finish()) {
        Launch(*next);
        return;
    }
    if (finished.selection == selectionSerial_) ShowGathered(finished);
}

void NavigationView::ShowGathered(const Gathering& gathering) {
    ContentView* view = host_.ReplaceRightView(gathering.view);
    view->ShowTitle(gathering.title);
    host_.UpdateAllViews(kHintShowTitle);
}

void NavigationView::WaitForGathering() {
    queue_.DropWaiting();
    while (worker_.joinable()) {
        if (FinishWorker(kSignalWaitMs)) break;
        PumpPendingMessages();
    }
    if (timerId_ && hwnd()) KillTimer(hwnd(), timerId_);
    timerId_ = 0;
    if (queue_.running()) queue_.Finish();
}

// ---------------------------------------------------------------- check boxes

void NavigationView::DisplayCheckboxes() {
    if (checkboxMode_) return;
    checkboxMode_ = true;
    // The style has to be added after creation for the control to build its check images.
    SetWindowLongPtrW(tree_.hwnd(), GWL_STYLE, GetWindowLongPtrW(tree_.hwnd(), GWL_STYLE) | TVS_CHECKBOXES);
    SetAllChecks(true);
}

void NavigationView::SetChecksBelow(HTREEITEM item, bool checked) {
    // Iterative over siblings and a stack for children: trees can be deep.
    std::vector<HTREEITEM> stack{item};
    while (!stack.empty()) {
        HTREEITEM current = stack.back();
        stack.pop_back();
        TreeView_SetCheckState(tree_.hwnd(), current, checked);
        for (HTREEITEM child = TreeView_GetChild(tree_.hwnd(), current); child;
             child = TreeView_GetNextSibling(tree_.hwnd(), child)) {
            stack.push_back(child);
        }
    }
}

void NavigationView::SetAllChecks(bool checked) {
    if (!checkboxMode_) return;
    for (HTREEITEM top = TreeView_GetRoot(tree_.hwnd()); top; top = TreeView_GetNextSibling(tree_.hwnd(), top)) {
        SetChecksBelow(top, checked);
    }
}

bool NavigationView::IsChecked(std::uint32_t key) const {
    HTREEITEM item = tree_.Handle(key);
    return item && TreeView_GetCheckState(tree_.hwnd(), item) == 1;
}

bool NavigationView::OnCheckboxClick() {
    TVHITTESTINFO hit{};
    const DWORD position = GetMessagePos();
    hit.pt = {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    ScreenToClient(tree_.hwnd(), &hit.pt);
    HTREEITEM item = TreeView_HitTest(tree_.hwnd(), &hit);
    if (!item || !(hit.flags & TVHT_ONITEMSTATEICON)) return false;
    const bool checked = TreeView_GetCheckState(tree_.hwnd(), item) == 1;
    SetChecksBelow(item, !checked);
    // Some versions of the control toggle the clicked box whatever the answer
    // to the click; the state is set once more after that.
    PostMessageW(hwnd(), kApplyCheck, reinterpret_cast<WPARAM>(item), !checked);
    return true;  // the control must not toggle the box again
}

}  // namespace kavlo::ui
