// The content views on titles made for the test: how each decodes its
// title and what its controls then hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/resource.h"
#include "ui/tests/sample_app.h"
#include "ui/views/expandable_tree_pane.h"
#include "ui/views/list_pane.h"
#include "ui/views/text_pane.h"
#include "ui/views/tree_pane.h"

namespace kavlo::ui::testing {
namespace {

class ViewsTest : public SampleAppTest {
protected:
    void TearDown() override {
        // The right pane must not keep borrowing the test's title.
        frame().leftView().ShowInformationPage();
    }

    /// Shows `title` in a view of `kind`; its control of the given id, if any.
    template <class View>
    View* Show(ViewKind kind, TitleRecord& title, int controlId = 0, HWND* control = nullptr) {
        title.runPending = 0;
        ContentView* view = frame().ReplaceRightView(kind);
        view->ShowTitle(&title);
        frame().UpdateAllViews(kHintShowTitle);
        PumpFor(100);
        if (control) *control = GetDlgItem(view->hwnd(), controlId);
        return dynamic_cast<View*>(view);
    }
};

TitleRecord Title(const char* kind, const char* detail = "", const char* text = "") {
    TitleRecord title("test", nullptr);
    title.kind = kind;
    title.kindDetail = detail;
    title.text = text;
    return title;
}

/// The image of a column header's sort mark, -1 for none.
int SortMark(HWND list, int column) {
    HDITEMW item{};
    item.mask = HDI_FORMAT | HDI_IMAGE;
    Header_GetItem(ListView_GetHeader(list), column, &item);
    return (item.fmt & HDF_IMAGE) ? item.iImage : -1;
}

TEST_F(ViewsTest, FileListShowsImagesBlanksAndSortsByHeaderClicks) {
    TitleRecord title = Title("filelist", "File,12,Size,8,Note,6", "2,x.dll,10,\n0,y.dll,9,b\n1,z.dll,100,a\n");
    title.header2 = "ASCIINoCase,INT,NoSort";
    HWND list = nullptr;
    auto* view = Show<ListPane>(ViewKind::List, title, IDC_LIST, &list);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(ListView_GetItemCount(list), 3);
    ASSERT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 3) << "the image cell is not a column";
    EXPECT_GT(ListView_GetColumnWidth(list, 0), 0);
    EXPECT_EQ(ListCell(list, 0, 0), L"x.dll");
    EXPECT_EQ(ListCell(list, 0, 2), L" ");
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    ListView_GetItem(list, &item);
    EXPECT_EQ(item.iImage, 2);

    ClickColumnHeader(list, 1);
    PumpFor(300);
    ASSERT_TRUE(view->list().sort().column().has_value()) << "the header click did not arrive";
    EXPECT_EQ(ListCell(list, 0, 1) + ListCell(list, 1, 1) + ListCell(list, 2, 1), L"910100");
    EXPECT_EQ(SortMark(list, 1), 3) << "the ascending mark";
    ClickColumnHeader(list, 1);
    PumpFor(300);
    EXPECT_EQ(ListCell(list, 0, 1), L"100");
    EXPECT_EQ(SortMark(list, 1), 4) << "the descending mark";
    // A "NoSort" column keeps the order and shows no mark; the old mark goes.
    ClickColumnHeader(list, 2);
    PumpFor(300);
    EXPECT_EQ(ListCell(list, 0, 1), L"100");
    EXPECT_EQ(SortMark(list, 2), -1);
    // A new column starts ascending; its third click sorts ascending again.
    for (const wchar_t* first : {L"x.dll", L"z.dll", L"x.dll"}) {
        ClickColumnHeader(list, 0);
        PumpFor(300);
        EXPECT_EQ(ListCell(list, 0, 0), first);
    }
    EXPECT_EQ(SortMark(list, 1), -1);
}

TEST_F(ViewsTest, TreeStateImagesAndLabels) {
    TitleRecord title = Title("tree");
    ResultNode& services = title.Root().AddChild("Services");
    services.AddChild("|03|Running");
    services.AddChild("||01 Enable logging");
    services.AddChild("plain");
    // Checked, unchecked, locked checked, locked unchecked, as the check commands store them.
    for (const char* stored : {"||00Checked", "||01Unchecked", "||04Checked and locked", "||06Unchecked and locked"})
        services.AddChild(stored);
    HWND tree = nullptr;
    ASSERT_NE(Show<TreePane>(ViewKind::Tree, title, IDC_TREE, &tree), nullptr);
    HTREEITEM top = TreeView_GetRoot(tree);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(TreeItemText(tree, top), L"Services");
    EXPECT_TRUE(TreeView_GetItemState(tree, top, TVIS_EXPANDED) & TVIS_EXPANDED);
    std::vector<std::wstring> labels;
    std::vector<int> images;
    for (HTREEITEM item = TreeView_GetChild(tree, top); item; item = TreeView_GetNextSibling(tree, item)) {
        labels.push_back(TreeItemText(tree, item));
        images.push_back(TreeStateImage(tree, item));
    }
    EXPECT_EQ(labels, (std::vector<std::wstring>{L"Running", L" Enable logging", L"plain", L"Checked", L"Unchecked",
                                                 L"Checked and locked", L"Unchecked and locked"}));
    ASSERT_EQ(images.size(), 7u);
    // The control's image n + 1 shows stored number n (it never draws image 0).
    EXPECT_EQ(std::vector<int>(images.begin(), images.begin() + 3), (std::vector<int>{4, 2, 0}));
    std::vector<int> checks(images.begin() + 3, images.end());
    for (int image : checks) EXPECT_LT(image, ImageList_GetImageCount(TreeView_GetImageList(tree, TVSIL_STATE)));
    std::sort(checks.begin(), checks.end());
    EXPECT_GT(checks[0], 0) << "state image 0 is never drawn";
    EXPECT_EQ(std::unique(checks.begin(), checks.end()), checks.end()) << "two check states share an image";
    Screenshot(frame().hwnd(), "view-check-states");
}

TEST_F(ViewsTest, TreeSortsLevelsMarkedSortAndInsertsChildrenWhenExpanded) {
    TitleRecord sorted = Title("tree");
    sorted.Root().SetTitleAndDetail("sorted", "sort");
    sorted.Root().AddChild("zeta");
    sorted.Root().AddChild("alpha");
    HWND tree = nullptr;
    ASSERT_NE(Show<TreePane>(ViewKind::Tree, sorted, IDC_TREE, &tree), nullptr);
    EXPECT_EQ(TreeItemText(tree, TreeView_GetRoot(tree)), L"alpha");

    TitleRecord large = Title("tree");
    large.Root().AddChild("first");
    ResultNode& big = large.Root().AddChild("big");
    for (int i = 0; i < 100000; ++i) big.AddChild("node");
    auto* view = Show<TreePane>(ViewKind::Tree, large, IDC_TREE, &tree);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->tree().ItemCount(), 2u) << "only the top level is inserted up front";
    HTREEITEM bigItem = TreeView_GetNextSibling(tree, TreeView_GetRoot(tree));
    TVITEMW item{};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = bigItem;
    TreeView_GetItem(tree, &item);
    EXPECT_EQ(item.cChildren, 1) << "the button shows before the children exist";
    view->tree().Expand(view->tree().KeyOf(bigItem));
    EXPECT_EQ(view->tree().ItemCount(), 100002u);
}

TEST_F(ViewsTest, TextOpensAtItsTopScrollsFindsAndAnEmptyOneShowsAHint) {
    TitleRecord title = Title("text");
    for (int i = 0; i < 5000; ++i) title.text += "line " + std::to_string(i) + "\n";
    title.text += "the Needle is here";
    auto* view = Show<TextPane>(ViewKind::Text, title);
    ASSERT_NE(view, nullptr);
    TextView& text = *view->TextControl();
    EXPECT_EQ(text.FirstVisibleLine(), 0u);
    EXPECT_EQ(text.LineCount(), 5001u);
    SetFocus(text.hwnd());
    SendMessageW(text.hwnd(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_GT(text.FirstVisibleLine(), 0u) << "Page Down scrolls";
    ASSERT_TRUE(text.Find("needle"));
    EXPECT_EQ(title.text.substr(text.selectionStart(), text.selectionEnd() - text.selectionStart()), "Needle");
    EXPECT_GT(text.FirstVisibleLine(), 4900u) << "the found text is scrolled into sight";
    EXPECT_FALSE(text.Find("needle")) << "no further occurrence";

    // An empty title shows a hint instead.
    TitleRecord empty = Title("text");
    ASSERT_EQ(Show<TextPane>(ViewKind::Text, empty), view) << "the same class keeps its view";
    HWND hint = FindWindowExW(view->hwnd(), nullptr, L"Static", kEmptyTitleHint);
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(IsWindowVisible(hint));
}

TitleRecord ExpandableTitle(const char* kind) {
    TitleRecord title = Title(kind);
    title.Root().SetExtra("Value,20,Data,30");
    ResultNode& settings = title.Root().AddChild("[D] Settings");
    settings.AddChild("Mode,fast");
    settings.AddChild("Level,3");
    settings.AddChild("{D} Logs").AddChild("line one of the log");
    title.Root().AddChild("Services [D] ");
    return title;
}

TEST_F(ViewsTest, ExpandableTreeNodesEntriesSplitBarAndTextForm) {
    TitleRecord title = ExpandableTitle("treexp");
    auto* view = Show<ExpandableTreePane>(ViewKind::ExpTree, title);
    ASSERT_NE(view, nullptr);
    HWND tree = GetDlgItem(view->hwnd(), IDC_TREE);
    HWND list = GetDlgItem(view->hwnd(), IDC_LIST);
    HTREEITEM top = TreeView_GetRoot(tree);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(TreeItemText(tree, top), L"Settings");
    EXPECT_EQ(TreeStateImage(tree, top), 1);
    EXPECT_EQ(TreeView_GetNextSibling(tree, top), nullptr) << "an unmarked node is not a tree node";
    HTREEITEM logs = TreeView_GetChild(tree, top);
    ASSERT_NE(logs, nullptr);
    EXPECT_EQ(TreeItemText(tree, logs), L"Logs");
    // The root item is selected at start: its entries are the list's rows.
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(ListCell(list, 0, 0) + L"|" + ListCell(list, 0, 1), L"Mode|fast");
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 2);
    TreeView_SelectItem(tree, logs);
    PumpFor(100);
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_EQ(ListCell(list, 0, 0), L"line one of the log");

    const int before = view->TreeWidth();
    const int bar = before + 2;  // in the gap between tree and entries
    SendMessageW(view->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar, 20));
    SendMessageW(view->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar + 120, 20));
    SendMessageW(view->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(bar + 120, 20));
    EXPECT_NEAR(view->TreeWidth(), before + 120, 4);

    // With a text in place of the list, the entries show as its lines.
    TitleRecord withText = ExpandableTitle("treexptxt");
    auto* textView = Show<ExpandableTreeTextPane>(ViewKind::ExpTreeText, withText, IDC_TREE, &tree);
    ASSERT_NE(textView, nullptr);
    EXPECT_EQ(textView->TextControl()->text(), "Mode,fast");
    TreeView_SelectItem(tree, TreeView_GetChild(tree, TreeView_GetRoot(tree)));
    PumpFor(100);
    EXPECT_EQ(textView->TextControl()->text(), "line one of the log");
}

}  // namespace
}  // namespace kavlo::ui::testing
