// The main window on the bundled sample machine: navigation tree, mouse
// selection, the view for each content kind and the contents of its controls.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/frame/main_frame.h"
#include "ui/resource.h"
#include "ui/tests/ui_driver.h"
#include "ui/views/content_view.h"
#include "ui/views/expandable_tree_pane.h"
#include "ui/views/list_pane.h"
#include "ui/views/tree_pane.h"
#include "ui/win/text.h"

namespace kavlo::ui::testing {
namespace {

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = new KavloApp(SampleOptions());
        ASSERT_TRUE(app_->InitInstance());
        MoveWindow(app_->frame().hwnd(), 0, 0, 1000, 700, TRUE);
        PumpFor(200);
    }
    static void TearDownTestSuite() {
        DestroyWindow(app_->frame().hwnd());
        delete app_;
        app_ = nullptr;
    }

    CMainFrame& frame() { return app_->frame(); }
    HWND tree() { return frame().leftView().tree().hwnd(); }
    std::string RightClass() {
        ContentView* view = frame().rightView();
        return view ? view->RuntimeClass() : "";
    }

    HTREEITEM Script(const std::wstring& name) {
        HTREEITEM root = TreeView_GetRoot(tree());
        for (HTREEITEM s = TreeView_GetChild(tree(), root); s; s = TreeView_GetNextSibling(tree(), s)) {
            if (TreeItemText(tree(), s) == name) return s;
        }
        return nullptr;
    }
    HTREEITEM Title(const std::wstring& script, const std::wstring& title) {
        HTREEITEM s = Script(script);
        if (!s) return nullptr;
        TreeView_Expand(tree(), s, TVE_EXPAND);
        return FindChild(tree(), s, title);
    }
    /// Clicks an item and waits until the view of the class shows the gathered title.
    bool ClickAndWait(HTREEITEM item, const std::string& viewClass) {
        if (!item) return false;
        const std::uint32_t key = frame().leftView().tree().KeyOf(item);
        ClickTreeItem(tree(), item);
        return PumpUntil(
            [&] {
                return frame().leftView().currentKey() == key && RightClass() == viewClass &&
                       !frame().leftView().gathering();
            },
            60000);
    }

    static KavloApp* app_;
};

KavloApp* MainWindowTest::app_ = nullptr;

TEST_F(MainWindowTest, TreeHasComputerScriptsAndTitles) {
    HTREEITEM root = TreeView_GetRoot(tree());
    ASSERT_NE(root, nullptr);
    EXPECT_NE(TreeItemText(tree(), root).find(L"  [local computer]"), std::wstring::npos);
    EXPECT_NE(Script(L"System"), nullptr);
    EXPECT_NE(Title(L"System", L"Windows version"), nullptr);
    // Extended.dbg is not in the catalog's list.
    EXPECT_EQ(Script(L"Extended"), nullptr);
    // The information page is shown at start.
    EXPECT_EQ(RightClass(), "TextPane");
    const std::string text = frame().rightView()->TextControl()->text();
    EXPECT_EQ(text.rfind("Current Date: ", 0), 0u) << text;
    EXPECT_NE(text.find("Computer Name: "), std::string::npos);
}

TEST_F(MainWindowTest, KeyboardSelectionDoesNotGather) {
    HTREEITEM item = Title(L"System", L"Memory");
    ASSERT_NE(item, nullptr);
    const std::string before = RightClass();
    const std::uint32_t current = frame().leftView().currentKey();
    TreeView_SelectItem(tree(), item);
    SetFocus(tree());
    PostMessageW(tree(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(tree(), WM_KEYUP, VK_DOWN, 0);
    PumpFor(300);
    EXPECT_NE(TreeView_GetSelection(tree()), item) << "the key press did not move the selection";
    EXPECT_EQ(RightClass(), before);
    EXPECT_EQ(frame().leftView().currentKey(), current);
    EXPECT_FALSE(frame().leftView().gathering());
}

TEST_F(MainWindowTest, TextTitleShowsInRichEdit) {
    HTREEITEM item = Title(L"System", L"Windows version");
    ASSERT_TRUE(ClickAndWait(item, "TextPane"));
    const std::string text = frame().rightView()->TextControl()->text();
    EXPECT_NE(text.find("Product: "), std::string::npos) << text;
    // The node is the current one, shown in bold.
    EXPECT_TRUE(TreeView_GetItemState(tree(), item, TVIS_BOLD) & TVIS_BOLD);
}

TEST_F(MainWindowTest, CopyPutsCrLfOnTheClipboard) {
    ASSERT_TRUE(ClickAndWait(Title(L"System", L"Windows version"), "TextPane"));
    SendMessageW(frame().hwnd(), WM_COMMAND, ID_EDIT_COPY, 0);
    ASSERT_TRUE(OpenClipboard(frame().hwnd()));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    const std::string copied(static_cast<const char*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_NE(copied.find("\r\n"), std::string::npos);
    for (std::size_t i = copied.find('\n'); i != std::string::npos; i = copied.find('\n', i + 1)) {
        ASSERT_GT(i, 0u);
        EXPECT_EQ(copied[i - 1], '\r') << "bare line feed at " << i;
    }
}

TEST_F(MainWindowTest, ScriptNodeShowsScriptInformation) {
    HTREEITEM item = Script(L"System");
    ASSERT_TRUE(ClickAndWait(item, "TextPane"));
    const std::string text = frame().rightView()->TextControl()->text();
    EXPECT_EQ(text.rfind("DBG File Info:", 0), 0u) << text;
    EXPECT_NE(text.find("Version: 1.2"), std::string::npos) << text;
    EXPECT_NE(text.find("Engine: 1.6"), std::string::npos) << text;
}

TEST_F(MainWindowTest, FileListRowsSortWithThreeClicks) {
    ASSERT_TRUE(ClickAndWait(Title(L"System", L"System files"), "ListPane"));
    auto* view = dynamic_cast<ListPane*>(frame().rightView());
    ASSERT_NE(view, nullptr);
    HWND list = GetDlgItem(view->hwnd(), IDC_LIST);
    const int rows = ListView_GetItemCount(list);
    ASSERT_GT(rows, 2);
    HWND header = ListView_GetHeader(list);
    ASSERT_GE(Header_GetItemCount(header), 2);
    // Columns come from the kind parameter: File, Version, ...
    HDITEMW item{};
    wchar_t name[64] = {};
    item.mask = HDI_TEXT;
    item.pszText = name;
    item.cchTextMax = 64;
    Header_GetItem(header, 0, &item);
    EXPECT_STREQ(name, L"File");

    auto column = [&] {
        std::vector<std::wstring> cells;
        for (int i = 0; i < rows; ++i) cells.push_back(ListCell(list, i, 0));
        return cells;
    };
    auto sortedNoCase = [](std::vector<std::wstring> cells, bool ascending) {
        std::stable_sort(cells.begin(), cells.end(), [&](const std::wstring& a, const std::wstring& b) {
            return ascending ? _wcsicmp(a.c_str(), b.c_str()) < 0 : _wcsicmp(a.c_str(), b.c_str()) > 0;
        });
        return cells;
    };
    const std::vector<std::wstring> original = column();
    ClickColumnHeader(list, 0);
    PumpFor(300);
    ASSERT_TRUE(view->list().sort().column().has_value()) << "the header click did not arrive";
    EXPECT_TRUE(view->list().sort().ascending());
    EXPECT_EQ(column(), sortedNoCase(original, true));
    ClickColumnHeader(list, 0);
    PumpFor(300);
    EXPECT_FALSE(view->list().sort().ascending());
    EXPECT_EQ(column(), sortedNoCase(original, false));
    ClickColumnHeader(list, 0);
    PumpFor(300);
    EXPECT_TRUE(view->list().sort().ascending());
    EXPECT_EQ(column(), sortedNoCase(original, true));
    // The sort mark (image 3, ascending) is on the clicked column's header.
    HDITEMW mark{};
    mark.mask = HDI_FORMAT | HDI_IMAGE;
    Header_GetItem(header, 0, &mark);
    EXPECT_TRUE(mark.fmt & HDF_IMAGE);
    EXPECT_EQ(mark.iImage, 3);
}

TEST_F(MainWindowTest, TreeTitleShowsStateImages) {
    ASSERT_TRUE(ClickAndWait(Title(L"Ostrell", L"Configuration"), "TreePane"));
    auto* pane = dynamic_cast<TreePane*>(frame().rightView());
    ASSERT_NE(pane, nullptr);
    HWND control = pane->tree().hwnd();
    ASSERT_NE(TreeView_GetRoot(control), nullptr);
    // Every item, each level inserted as it is opened: no "|NN|" or "||NN" marks
    // left in the labels; check items carry state images.
    int withImage = 0;
    std::vector<HTREEITEM> stack{TreeView_GetRoot(control)};
    while (!stack.empty()) {
        HTREEITEM item = stack.back();
        stack.pop_back();
        const std::wstring text = TreeItemText(control, item);
        EXPECT_NE(text.rfind(L"|", 0), 0u) << "unstripped mark: " << Narrow(text);
        if (TreeStateImage(control, item) > 0) ++withImage;
        pane->tree().Expand(pane->tree().KeyOf(item));
        if (HTREEITEM child = TreeView_GetChild(control, item)) stack.push_back(child);
        if (HTREEITEM next = TreeView_GetNextSibling(control, item)) stack.push_back(next);
    }
    EXPECT_GT(withImage, 0);
}

TEST_F(MainWindowTest, ExpandableTreeShowsEntriesOfSelectedNode) {
    ASSERT_TRUE(ClickAndWait(Title(L"System", L"Installed programs"), "ExpandableTreePane"));
    auto* view = dynamic_cast<ExpandableTreePane*>(frame().rightView());
    ASSERT_NE(view, nullptr);
    HWND control = GetDlgItem(view->hwnd(), IDC_TREE);
    HTREEITEM top = TreeView_GetRoot(control);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(TreeStateImage(control, top), 1);
    EXPECT_NE(TreeItemText(control, top).rfind(L"[D] ", 0), 0u);
    HTREEITEM child = TreeView_GetChild(control, top);
    ASSERT_NE(child, nullptr);
    TreeView_SelectItem(control, child);
    PumpFor(200);
    EXPECT_GT(view->list().rows().size(), 0u);
    HWND list = GetDlgItem(view->hwnd(), IDC_LIST);
    EXPECT_EQ(ListView_GetItemCount(list), static_cast<int>(view->list().rows().size()));
}

TEST_F(MainWindowTest, SelectionDuringGatheringWaitsAndShowsTheLatest) {
    HTREEITEM first = Title(L"Services", L"Windows services");
    HTREEITEM second = Title(L"System", L"Windows version");
    ClickTreeItem(tree(), first);
    ClickTreeItem(tree(), second);
    ASSERT_TRUE(PumpUntil([&] { return RightClass() == "TextPane" && !frame().leftView().gathering(); }, 60000));
    PumpFor(300);
    EXPECT_EQ(RightClass(), "TextPane");
    EXPECT_NE(frame().rightView()->TextControl()->text().find("Product: "), std::string::npos);
}

TEST_F(MainWindowTest, RootShowsInformationPage) {
    ASSERT_TRUE(ClickAndWait(TreeView_GetRoot(tree()), "TextPane"));
    EXPECT_EQ(frame().rightView()->TextControl()->text().rfind("Current Date: ", 0), 0u);
}

TEST_F(MainWindowTest, CheckboxesDisplayCheckAndClickRule) {
    SendMessageW(frame().hwnd(), WM_COMMAND, ID_CHECKBOXES_DISPLAY, 0);
    NavigationView& left = frame().leftView();
    ASSERT_TRUE(left.checkboxMode());
    const std::uint32_t root = left.rootKey();
    EXPECT_TRUE(left.IsChecked(root));
    SendMessageW(frame().hwnd(), WM_COMMAND, ID_CHECKBOXES_UNCHECKALL, 0);
    EXPECT_FALSE(left.IsChecked(root));
    SendMessageW(frame().hwnd(), WM_COMMAND, ID_CHECKBOXES_CHECKALL, 0);
    EXPECT_TRUE(left.IsChecked(root));

    // A click on a node's box sets the node and everything below it to the opposite.
    HTREEITEM script = Script(L"System");
    ASSERT_NE(script, nullptr);
    TreeView_Expand(tree(), script, TVE_EXPAND);
    TreeView_EnsureVisible(tree(), script);
    RECT text{};
    TreeView_GetItemRect(tree(), script, &text, TRUE);
    // The box sits left of the label.
    POINT box{text.left - 8, (text.top + text.bottom) / 2};
    TVHITTESTINFO hit{};
    hit.pt = box;
    ASSERT_EQ(TreeView_HitTest(tree(), &hit), script);
    ASSERT_TRUE(hit.flags & TVHT_ONITEMSTATEICON);
    POINT screen = box;
    ClientToScreen(tree(), &screen);
    SetCursorPos(screen.x, screen.y);
    PostClick(tree(), RECT{box.x, box.y, box.x, box.y});
    PumpFor(300);
    const std::uint32_t scriptKey = left.tree().KeyOf(script);
    const std::uint32_t titleKey = left.tree().KeyOf(TreeView_GetChild(tree(), script));
    EXPECT_FALSE(left.IsChecked(scriptKey));
    EXPECT_FALSE(left.IsChecked(titleKey));
    EXPECT_TRUE(left.IsChecked(root)) << "the parent keeps its state";
}

TEST_F(MainWindowTest, EnterGathersTheHighlightedNode) {
    HTREEITEM version = Title(L"System", L"Windows version");
    ASSERT_NE(version, nullptr);
    const std::uint32_t key = frame().leftView().tree().KeyOf(version);
    frame().leftView().ShowInformationPage();
    SetFocus(tree());
    TreeView_SelectItem(tree(), version);  // the highlight moves as with the arrow keys
    PumpFor(100);
    PostMessageW(tree(), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(PumpUntil(
        [&] {
            return frame().leftView().currentKey() == key && RightClass() == "TextPane" &&
                   !frame().leftView().gathering();
        },
        60000));
    EXPECT_NE(frame().rightView()->TextControl()->text().find("Product: "), std::string::npos);
}

TEST_F(MainWindowTest, F6AndTabMoveTheFocusBetweenThePanes) {
    frame().leftView().ShowInformationPage();
    PumpFor(100);
    HWND text = frame().rightView()->TextControl()->hwnd();
    SetFocus(tree());
    MSG f6{tree(), WM_KEYDOWN, VK_F6, 0, 0, {}};
    EXPECT_TRUE(frame().PreTranslate(f6));
    EXPECT_EQ(GetFocus(), text);
    f6.hwnd = text;
    EXPECT_TRUE(frame().PreTranslate(f6));
    EXPECT_EQ(GetFocus(), tree());
    MSG tab{tree(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(frame().PreTranslate(tab));
    EXPECT_EQ(GetFocus(), text);
    tab.hwnd = text;
    EXPECT_TRUE(frame().PreTranslate(tab));
    EXPECT_EQ(GetFocus(), tree()) << "Tab from the last control of the right pane returns to the tree";
}

TEST_F(MainWindowTest, EveryMenuCommandHasAnAccessKey) {
    std::vector<HMENU> menus{GetMenu(frame().hwnd())};
    while (!menus.empty()) {
        HMENU menu = menus.back();
        menus.pop_back();
        for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
            wchar_t label[256] = {};
            GetMenuStringW(menu, static_cast<UINT>(i), label, 256, MF_BYPOSITION);
            if (HMENU sub = GetSubMenu(menu, i)) menus.push_back(sub);
            if (label[0] == L'\0') continue;  // separator
            EXPECT_NE(std::wstring(label).find(L'&'), std::wstring::npos) << Narrow(label);
        }
    }
}

TEST_F(MainWindowTest, EditedContactShowsOnTheInformationPage) {
    frame().leftView().ShowInformationPage();
    TimerDriver driver([&] {
        HWND dialog = FindWindowW(L"#32770", L"Contact information");
        if (!dialog) return false;
        SetDlgItemTextW(dialog, IDC_CONTACT_NAME, L"Zed Example");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    SendMessageW(frame().hwnd(), WM_COMMAND, ID_VIEW_CONTACT, 0);
    EXPECT_NE(frame().rightView()->TextControl()->text().find("Zed Example"), std::string::npos);
}

TEST_F(MainWindowTest, NavigationPaneShowsScriptAndTitleLabelsWhole) {
    RECT client{};
    GetClientRect(tree(), &client);
    HTREEITEM root = TreeView_GetRoot(tree());
    for (HTREEITEM script = TreeView_GetChild(tree(), root); script; script = TreeView_GetNextSibling(tree(), script)) {
        TreeView_Expand(tree(), script, TVE_EXPAND);
        for (HTREEITEM title = TreeView_GetChild(tree(), script); title;
             title = TreeView_GetNextSibling(tree(), title)) {
            TreeView_EnsureVisible(tree(), title);
            RECT label{};
            ASSERT_TRUE(TreeView_GetItemRect(tree(), title, &label, TRUE));
            EXPECT_LE(label.right, client.right) << Narrow(TreeItemText(tree(), title));
        }
        TreeView_Expand(tree(), script, TVE_COLLAPSE);
    }
}

}  // namespace
}  // namespace kavlo::ui::testing
