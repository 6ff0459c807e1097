// The main window on the bundled sample machine: navigation tree, mouse
// selection, the view for each content kind and the contents of its controls.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/resource.h"
#include "ui/tests/sample_app.h"
#include "ui/views/content_view.h"
#include "ui/win/text.h"

namespace kavlo::ui::testing {
namespace {

class MainWindowTest : public SampleAppTest {
protected:
    NavigationView& left() { return frame().leftView(); }
    HWND tree() { return left().tree().hwnd(); }
    std::string RightClass() { return frame().rightView() ? frame().rightView()->RuntimeClass() : ""; }
    std::string RightText() { return frame().rightView()->TextControl()->text(); }
    HTREEITEM Title(const std::wstring& script, const std::wstring& title) {
        return FindSampleTitle(tree(), script, title);
    }
    /// Waits until the view of the class shows the gathered node of `key`.
    bool WaitFor(std::uint32_t key, const std::string& viewClass) {
        return PumpUntil([&] { return left().currentKey() == key && RightClass() == viewClass && !left().gathering(); },
                         60000);
    }
    bool ClickAndWait(HTREEITEM item, const std::string& viewClass) {
        if (!item) return false;
        ClickTreeItem(tree(), item);
        return WaitFor(left().tree().KeyOf(item), viewClass);
    }
};

TEST_F(MainWindowTest, TreeHasComputerScriptsAndTitlesAndTheRootTheInformationPage) {
    HTREEITEM root = TreeView_GetRoot(tree());
    ASSERT_NE(root, nullptr);
    EXPECT_NE(TreeItemText(tree(), root).find(L"  [local computer]"), std::wstring::npos);
    EXPECT_EQ(FindChild(tree(), root, L"Extended"), nullptr) << "Extended.dbg is not in the catalog's list";
    // The information page is shown at start, and again for the root.
    EXPECT_EQ(RightClass(), "TextPane");
    EXPECT_EQ(RightText().rfind("Current Date: ", 0), 0u) << RightText();
    Screenshot(frame().hwnd(), "main-information-page");
    ASSERT_TRUE(ClickAndWait(Title(L"System", L""), "TextPane"));
    EXPECT_EQ(RightText().rfind("DBG File Info:", 0), 0u) << RightText();
    ASSERT_TRUE(ClickAndWait(root, "TextPane"));
    EXPECT_EQ(RightText().rfind("Current Date: ", 0), 0u);
}

TEST_F(MainWindowTest, ArrowKeysMoveWithoutGatheringAndEnterGathers) {
    HTREEITEM memory = Title(L"System", L"Memory");
    HTREEITEM version = Title(L"System", L"Windows version");
    ASSERT_NE(memory, nullptr);
    left().ShowInformationPage();
    const std::uint32_t current = left().currentKey();
    TreeView_SelectItem(tree(), memory);
    SetFocus(tree());
    PostMessageW(tree(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(tree(), WM_KEYUP, VK_DOWN, 0);
    PumpFor(300);
    EXPECT_NE(TreeView_GetSelection(tree()), memory) << "the key press did not move the selection";
    EXPECT_EQ(left().currentKey(), current);
    EXPECT_FALSE(left().gathering());

    TreeView_SelectItem(tree(), version);  // the highlight moves as with the arrow keys
    PumpFor(100);
    PostMessageW(tree(), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitFor(left().tree().KeyOf(version), "TextPane"));
    EXPECT_NE(RightText().find("Product: "), std::string::npos);
}

TEST_F(MainWindowTest, ListAndExpandableTitlesOfTheSampleShowTheirViews) {
    struct Case {
        const wchar_t* script;
        const wchar_t* title;
        const char* viewClass;
        const char* picture;
    };
    const Case cases[] = {
        {L"System", L"System files", "ListPane", "view-list-filelist"},
        {L"Network", L"Internet settings", "ListPane", "view-list-columns"},
        {L"System", L"Installed programs", "ExpandableTreePane", "view-exptree"},
        // The tree and expandable text panes: ViewsTest.
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.picture);
        ASSERT_TRUE(ClickAndWait(Title(c.script, c.title), c.viewClass));
        HWND view = frame().rightView()->hwnd();
        if (HWND tree = GetDlgItem(view, IDC_TREE)) {
            // The first node below the top shows its entries.
            HTREEITEM node = TreeView_GetChild(tree, TreeView_GetRoot(tree));
            ASSERT_NE(node, nullptr);
            TreeView_SelectItem(tree, node);
            PumpFor(300);
        } else {
            // Sorted by the first column, descending: the sort mark shows.
            HWND list = GetDlgItem(view, IDC_LIST);
            ClickColumnHeader(list, 0);
            ClickColumnHeader(list, 0);
            PumpFor(300);
            ASSERT_GT(ListView_GetItemCount(list), 1);
            EXPECT_EQ(ListView_GetImageList(list, LVSIL_SMALL) != nullptr,
                      c.picture == std::string("view-list-filelist"))
                << "only a file list has an image slot";
            EXPECT_GE(_wcsicmp(ListCell(list, 0, 0).c_str(), ListCell(list, 1, 0).c_str()), 0);
        }
        Screenshot(frame().hwnd(), c.picture);
    }
}

TEST_F(MainWindowTest, SelectionDuringGatheringShowsTheLatestInBoldAndCopiesItWithCrLf) {
    HTREEITEM version = Title(L"System", L"Windows version");
    ClickTreeItem(tree(), Title(L"Services", L"Windows services"));
    ClickTreeItem(tree(), version);
    ASSERT_TRUE(PumpUntil([&] { return RightClass() == "TextPane" && !left().gathering(); }, 60000));
    PumpFor(300);
    EXPECT_EQ(RightClass(), "TextPane");
    EXPECT_NE(RightText().find("Product: "), std::string::npos) << RightText();
    EXPECT_TRUE(TreeView_GetItemState(tree(), version, TVIS_BOLD) & TVIS_BOLD) << "the current node is bold";
    SendMessageW(frame().hwnd(), WM_COMMAND, ID_EDIT_COPY, 0);
    ASSERT_TRUE(OpenClipboard(frame().hwnd()));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(data, nullptr);
    const std::string copied(static_cast<const char*>(GlobalLock(data)));
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_NE(copied.find("\r\n"), std::string::npos);
    for (std::size_t i = copied.find('\n'); i != std::string::npos; i = copied.find('\n', i + 1))
        ASSERT_EQ(copied[i - 1], '\r') << "bare line feed at " << i;
}

TEST_F(MainWindowTest, CheckboxesDisplayCheckAndClickRule) {
    SendMessageW(frame().hwnd(), WM_COMMAND, ID_CHECKBOXES_DISPLAY, 0);
    ASSERT_TRUE(left().checkboxMode());
    const std::uint32_t root = left().rootKey();
    EXPECT_TRUE(left().IsChecked(root));
    SendMessageW(frame().hwnd(), WM_COMMAND, ID_CHECKBOXES_UNCHECKALL, 0);
    EXPECT_FALSE(left().IsChecked(root));
    SendMessageW(frame().hwnd(), WM_COMMAND, ID_CHECKBOXES_CHECKALL, 0);
    EXPECT_TRUE(left().IsChecked(root));

    // A click on a node's box sets the node and everything below it to the opposite.
    HTREEITEM script = FindChild(tree(), TreeView_GetRoot(tree()), L"System");
    ASSERT_NE(script, nullptr);
    TreeView_Expand(tree(), script, TVE_EXPAND);
    TreeView_EnsureVisible(tree(), script);
    RECT text{};
    TreeView_GetItemRect(tree(), script, &text, TRUE);
    POINT box{text.left - 8, (text.top + text.bottom) / 2};  // the box sits left of the label
    TVHITTESTINFO hit{};
    hit.pt = box;
    ASSERT_EQ(TreeView_HitTest(tree(), &hit), script);
    ASSERT_TRUE(hit.flags & TVHT_ONITEMSTATEICON);
    POINT screen = box;
    ClientToScreen(tree(), &screen);
    SetCursorPos(screen.x, screen.y);
    PostClick(tree(), RECT{box.x, box.y, box.x, box.y});
    PumpFor(300);
    EXPECT_FALSE(left().IsChecked(left().tree().KeyOf(script)));
    EXPECT_FALSE(left().IsChecked(left().tree().KeyOf(TreeView_GetChild(tree(), script))));
    EXPECT_TRUE(left().IsChecked(root)) << "the parent keeps its state";
}

TEST_F(MainWindowTest, F6AndTabMoveTheFocusBetweenThePanes) {
    left().ShowInformationPage();
    PumpFor(100);
    HWND text = frame().rightView()->TextControl()->hwnd();
    for (UINT key : {VK_F6, VK_TAB}) {
        SetFocus(tree());
        MSG press{tree(), WM_KEYDOWN, key, 0, 0, {}};
        EXPECT_TRUE(frame().PreTranslate(press));
        EXPECT_EQ(GetFocus(), text);
        press.hwnd = text;
        EXPECT_TRUE(frame().PreTranslate(press));
        EXPECT_EQ(GetFocus(), tree()) << "from the last control of the right pane back to the tree, key " << key;
    }
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
    left().ShowInformationPage();
    TimerDriver driver([&] {
        HWND dialog = FindWindowW(L"#32770", L"Contact information");
        if (!dialog) return false;
        SetDlgItemTextW(dialog, IDC_CONTACT_NAME, L"Zed Example");
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    SendMessageW(frame().hwnd(), WM_COMMAND, ID_VIEW_CONTACT, 0);
    EXPECT_NE(RightText().find("Zed Example"), std::string::npos);
}

}  // namespace
}  // namespace kavlo::ui::testing
