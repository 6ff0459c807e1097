// The content views on titles made for the test: how each decodes its
// title and what its controls then hold.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ui/frame/main_frame.h"
#include "ui/resource.h"
#include "ui/tests/ui_driver.h"
#include "ui/views/expandable_tree_pane.h"
#include "ui/views/list_pane.h"
#include "ui/views/text_pane.h"
#include "ui/views/tree_pane.h"
#include "ui/win/text.h"

namespace kavlo::ui::testing {
namespace {

class ViewsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        app_ = new KavloApp(SampleOptions());
        ASSERT_TRUE(app_->InitInstance());
        MoveWindow(app_->frame().hwnd(), 0, 0, 1000, 700, TRUE);
        PumpFor(200);
    }
    static void TearDownTestSuite() {
        DestroyWindow(app_->frame().hwnd());
        PumpFor(100);
        delete app_;
        app_ = nullptr;
    }
    void TearDown() override {
        // The right pane must not keep borrowing the test's title.
        app_->frame().leftView().ShowInformationPage();
    }

    template <class View>
    View* Show(ViewKind kind, TitleRecord& title) {
        ContentView* view = app_->frame().ReplaceRightView(kind);
        view->ShowTitle(&title);
        app_->frame().UpdateAllViews(kHintShowTitle);
        PumpFor(100);
        return dynamic_cast<View*>(view);
    }

    static KavloApp* app_;
};

KavloApp* ViewsTest::app_ = nullptr;

TitleRecord ListTitle(const char* kind, const char* columns, const char* sortTypes, const char* text) {
    TitleRecord title("test", nullptr);
    title.kind = kind;
    title.kindDetail = columns;
    if (std::string(kind).find("filelist") != std::string::npos) {
        title.header2 = sortTypes;
    } else {
        title.header1 = sortTypes;
    }
    title.text = text;
    title.runPending = 0;
    return title;
}

TEST_F(ViewsTest, ListCellsAndBlanks) {
    TitleRecord title = ListTitle("col", "A,5,B,5,C,5", "NoSort,NoSort,NoSort", "a,,c\n");
    auto* view = Show<ListPane>(ViewKind::List, title);
    ASSERT_NE(view, nullptr);
    HWND list = GetDlgItem(view->hwnd(), IDC_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_EQ(ListCell(list, 0, 0), L"a");
    EXPECT_EQ(ListCell(list, 0, 1), L" ");
    EXPECT_EQ(ListCell(list, 0, 2), L"c");
    // Columns are as wide as that many letters "a".
    HWND header = ListView_GetHeader(list);
    ASSERT_EQ(Header_GetItemCount(header), 3);
    EXPECT_GT(ListView_GetColumnWidth(list, 0), 0);
}

TEST_F(ViewsTest, FileListImageCellIsNotAColumn) {
    TitleRecord title =
        ListTitle("filelist", "File,12,Version,8", "ASCIINoCase,ASCIICase", "2,x.dll,1.0\n0,y.dll,2.0\n");
    auto* view = Show<ListPane>(ViewKind::List, title);
    ASSERT_NE(view, nullptr);
    HWND list = GetDlgItem(view->hwnd(), IDC_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(ListCell(list, 0, 0), L"x.dll");
    EXPECT_EQ(ListCell(list, 0, 1), L"1.0");
    LVITEMW item{};
    item.mask = LVIF_IMAGE;
    item.iItem = 0;
    ListView_GetItem(list, &item);
    EXPECT_EQ(item.iImage, 2);
}

TEST_F(ViewsTest, IntColumnSortsNineBeforeTenAndRowsKeepTheirNumbers) {
    TitleRecord title = ListTitle("col", "Name,8,Count,6", "ASCIICase,INT", "b,10\na,9\nc,100\n");
    auto* view = Show<ListPane>(ViewKind::List, title);
    ASSERT_NE(view, nullptr);
    HWND list = GetDlgItem(view->hwnd(), IDC_LIST);
    ClickColumnHeader(list, 1);
    PumpFor(300);
    ASSERT_TRUE(view->list().sort().column().has_value()) << "the header click did not arrive";
    EXPECT_EQ(ListCell(list, 0, 1), L"9");
    EXPECT_EQ(ListCell(list, 1, 1), L"10");
    EXPECT_EQ(ListCell(list, 2, 1), L"100");
    EXPECT_EQ(view->list().rows()[0].number, 1u);
    ClickColumnHeader(list, 1);
    PumpFor(300);
    EXPECT_EQ(ListCell(list, 0, 1), L"100");
    // A new column sorts ascending and takes the mark from the old one.
    ClickColumnHeader(list, 0);
    PumpFor(300);
    EXPECT_EQ(ListCell(list, 0, 0), L"a");
    HDITEMW old{};
    old.mask = HDI_FORMAT;
    Header_GetItem(ListView_GetHeader(list), 1, &old);
    EXPECT_FALSE(old.fmt & HDF_IMAGE);
}

TEST_F(ViewsTest, UnknownSortTypeKeepsTheOrder) {
    TitleRecord title = ListTitle("col", "Name,8", "Whatever", "b\na\nc\n");
    auto* view = Show<ListPane>(ViewKind::List, title);
    HWND list = GetDlgItem(view->hwnd(), IDC_LIST);
    ClickColumnHeader(list, 0);
    PumpFor(300);
    EXPECT_EQ(ListCell(list, 0, 0), L"b");
    EXPECT_EQ(ListCell(list, 2, 0), L"c");
}

TEST_F(ViewsTest, EmptyListShowsOneBlankRow) {
    TitleRecord title = ListTitle("col", "Name,8", "NoSort", "");
    auto* view = Show<ListPane>(ViewKind::List, title);
    HWND list = GetDlgItem(view->hwnd(), IDC_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_EQ(ListCell(list, 0, 0), L" ");
}

TEST_F(ViewsTest, TreeStateImagesAndLabels) {
    TitleRecord title("tree test", nullptr);
    title.kind = "tree";
    title.runPending = 0;
    ResultNode& services = title.Root().AddChild("Services");
    services.AddChild("|03|Running");
    services.AddChild("||01 Enable logging");
    services.AddChild("plain");
    auto* view = Show<TreePane>(ViewKind::Tree, title);
    ASSERT_NE(view, nullptr);
    HWND tree = GetDlgItem(view->hwnd(), IDC_TREE);
    HTREEITEM top = TreeView_GetRoot(tree);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(TreeItemText(tree, top), L"Services");
    HTREEITEM running = TreeView_GetChild(tree, top);
    ASSERT_NE(running, nullptr);
    EXPECT_EQ(TreeItemText(tree, running), L"Running");
    // The control's image n + 1 shows stored number n (it never draws image 0).
    EXPECT_EQ(TreeStateImage(tree, running), 4);
    HTREEITEM logging = TreeView_GetNextSibling(tree, running);
    EXPECT_EQ(TreeItemText(tree, logging), L" Enable logging");
    EXPECT_EQ(TreeStateImage(tree, logging), 2);
    HTREEITEM plain = TreeView_GetNextSibling(tree, logging);
    EXPECT_EQ(TreeStateImage(tree, plain), 0);
    EXPECT_TRUE(TreeView_GetItemState(tree, top, TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(ViewsTest, EachCheckStateHasItsOwnDrawnImage) {
    TitleRecord title("checks", nullptr);
    title.kind = "tree";
    title.runPending = 0;
    ResultNode& items = title.Root().AddChild("Options");
    // Checked, unchecked, locked checked, locked unchecked, as the check commands store them.
    for (const char* stored : {"||00Checked", "||01Unchecked", "||04Locked on", "||06Locked off"})
        items.AddChild(stored);
    auto* view = Show<TreePane>(ViewKind::Tree, title);
    ASSERT_NE(view, nullptr);
    HWND tree = GetDlgItem(view->hwnd(), IDC_TREE);
    std::vector<int> images;
    for (HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree)); item;
         item = TreeView_GetNextSibling(tree, item)) {
        images.push_back(TreeStateImage(tree, item));
    }
    ASSERT_EQ(images.size(), 4u);
    HIMAGELIST list = TreeView_GetImageList(tree, TVSIL_STATE);
    for (int image : images) {
        EXPECT_GT(image, 0) << "state image 0 is never drawn";
        EXPECT_LT(image, ImageList_GetImageCount(list));
    }
    std::sort(images.begin(), images.end());
    EXPECT_EQ(std::unique(images.begin(), images.end()), images.end()) << "two states share an image";
}

TEST_F(ViewsTest, LargeTreeInsertsChildrenWhenExpanded) {
    TitleRecord title("large", nullptr);
    title.kind = "tree";
    title.runPending = 0;
    title.Root().AddChild("first");
    ResultNode& big = title.Root().AddChild("big");
    for (int i = 0; i < 100000; ++i) big.AddChild("node");
    auto* view = Show<TreePane>(ViewKind::Tree, title);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->tree().ItemCount(), 2u) << "only the top level is inserted up front";
    HWND tree = view->tree().hwnd();
    HTREEITEM bigItem = TreeView_GetNextSibling(tree, TreeView_GetRoot(tree));
    TVITEMW item{};
    item.mask = TVIF_CHILDREN | TVIF_HANDLE;
    item.hItem = bigItem;
    TreeView_GetItem(tree, &item);
    EXPECT_EQ(item.cChildren, 1) << "the button shows before the children exist";
    view->tree().Expand(view->tree().KeyOf(bigItem));
    EXPECT_EQ(view->tree().ItemCount(), 100002u);
}

TEST_F(ViewsTest, TextOpensAtItsTop) {
    TitleRecord title("long text", nullptr);
    title.kind = "text";
    title.runPending = 0;
    for (int i = 0; i < 3000; ++i) title.text += "line " + std::to_string(i) + "\n";
    auto* view = Show<TextPane>(ViewKind::Text, title);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->TextControl()->FirstVisibleLine(), 0u);
}

TEST_F(ViewsTest, TextViewScrollsFindsAndSelects) {
    TitleRecord title("long text", nullptr);
    title.kind = "text";
    title.runPending = 0;
    for (int i = 0; i < 5000; ++i) title.text += "line " + std::to_string(i) + "\n";
    title.text += "the Needle is here";
    auto* view = Show<TextPane>(ViewKind::Text, title);
    ASSERT_NE(view, nullptr);
    TextView& text = *view->TextControl();
    EXPECT_EQ(text.LineCount(), 5001u);
    SetFocus(text.hwnd());
    SendMessageW(text.hwnd(), WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_GT(text.FirstVisibleLine(), 0u) << "Page Down scrolls";
    ASSERT_TRUE(text.Find("needle"));
    EXPECT_EQ(title.text.substr(text.selectionStart(), text.selectionEnd() - text.selectionStart()), "Needle");
    EXPECT_GT(text.FirstVisibleLine(), 4900u) << "the found text is scrolled into sight";
    EXPECT_EQ(text.SelectedOrAll(), "Needle");
    EXPECT_FALSE(text.Find("needle")) << "no further occurrence";
}

TEST_F(ViewsTest, ExpandableTreeSplitBarDrags) {
    TitleRecord title("exp", nullptr);
    title.kind = "treexp";
    title.kindDetail = "Name,10";
    title.runPending = 0;
    title.Root().AddChild("[D] HKLM\\Software\\A rather long key path");
    auto* view = Show<ExpandableTreePane>(ViewKind::ExpTree, title);
    ASSERT_NE(view, nullptr);
    const int before = view->TreeWidth();
    const int bar = before + 2;  // in the gap between tree and entries
    SendMessageW(view->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bar, 20));
    SendMessageW(view->hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(bar + 120, 20));
    SendMessageW(view->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(bar + 120, 20));
    EXPECT_NEAR(view->TreeWidth(), before + 120, 4);
}

TEST_F(ViewsTest, EmptyTitleShowsAHint) {
    TitleRecord title("empty", nullptr);
    title.kind = "text";
    title.runPending = 0;
    auto* view = Show<TextPane>(ViewKind::Text, title);
    ASSERT_NE(view, nullptr);
    HWND hint = FindWindowExW(view->hwnd(), nullptr, L"Static", kEmptyTitleHint);
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(IsWindowVisible(hint));
}

TEST_F(ViewsTest, NoSortColumnShowsNoSortMark) {
    TitleRecord title = ListTitle("col", "Name,10,Size,6", "NoSort,INT", "b,2\na,1\n");
    auto* view = Show<ListPane>(ViewKind::List, title);
    ASSERT_NE(view, nullptr);
    HWND list = GetDlgItem(view->hwnd(), IDC_LIST);
    ClickColumnHeader(list, 0);
    PumpFor(100);
    HDITEMW header{};
    header.mask = HDI_FORMAT;
    Header_GetItem(ListView_GetHeader(list), 0, &header);
    EXPECT_EQ(header.fmt & HDF_IMAGE, 0) << "nothing is sorted";
    EXPECT_EQ(ListCell(list, 0, 0), L"b");
}

TEST_F(ViewsTest, ColumnListHasNoImageSlot) {
    TitleRecord title = ListTitle("col", "Name,10", "ASCIICase", "a\n");
    auto* view = Show<ListPane>(ViewKind::List, title);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(ListView_GetImageList(GetDlgItem(view->hwnd(), IDC_LIST), LVSIL_SMALL), nullptr);
}

TEST_F(ViewsTest, TreeSortsLevelsMarkedSort) {
    TitleRecord title("sorted", nullptr);
    title.kind = "tree";
    title.runPending = 0;
    title.Root().SetTitleAndDetail("sorted", "sort");
    title.Root().AddChild("zeta");
    title.Root().AddChild("alpha");
    auto* view = Show<TreePane>(ViewKind::Tree, title);
    HWND tree = GetDlgItem(view->hwnd(), IDC_TREE);
    EXPECT_EQ(TreeItemText(tree, TreeView_GetRoot(tree)), L"alpha");
}

TitleRecord ExpandableTitle(const char* kind) {
    TitleRecord title("exp", nullptr);
    title.kind = kind;
    title.runPending = 0;
    title.Root().SetExtra("Value,20,Data,30");
    ResultNode& settings = title.Root().AddChild("[D] Settings");
    settings.AddChild("Mode,fast");
    settings.AddChild("Level,3");
    ResultNode& logs = settings.AddChild("{D} Logs");
    logs.AddChild("line one of the log");
    title.Root().AddChild("Services [D] ");
    return title;
}

TEST_F(ViewsTest, ExpandableTreeNodesAndEntries) {
    TitleRecord title = ExpandableTitle("treexp");
    auto* view = Show<ExpandableTreePane>(ViewKind::ExpTree, title);
    ASSERT_NE(view, nullptr);
    HWND tree = GetDlgItem(view->hwnd(), IDC_TREE);
    HTREEITEM top = TreeView_GetRoot(tree);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(TreeItemText(tree, top), L"Settings");
    EXPECT_EQ(TreeStateImage(tree, top), 1);
    EXPECT_EQ(TreeView_GetNextSibling(tree, top), nullptr) << "an unmarked node is not a tree node";
    HTREEITEM logs = TreeView_GetChild(tree, top);
    ASSERT_NE(logs, nullptr);
    EXPECT_EQ(TreeItemText(tree, logs), L"Logs");
    // The root item is selected at start: its entries are the list's rows.
    HWND list = GetDlgItem(view->hwnd(), IDC_LIST);
    ASSERT_EQ(ListView_GetItemCount(list), 2);
    EXPECT_EQ(ListCell(list, 0, 0), L"Mode");
    EXPECT_EQ(ListCell(list, 0, 1), L"fast");
    EXPECT_EQ(Header_GetItemCount(ListView_GetHeader(list)), 2);
    TreeView_SelectItem(tree, logs);
    PumpFor(100);
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    EXPECT_EQ(ListCell(list, 0, 0), L"line one of the log");
}

TEST_F(ViewsTest, ExpandableTreeWithTextShowsTheFirstEntry) {
    TitleRecord title = ExpandableTitle("treexptxt");
    auto* view = Show<ExpandableTreeTextPane>(ViewKind::ExpTreeText, title);
    ASSERT_NE(view, nullptr);
    HWND tree = GetDlgItem(view->hwnd(), IDC_TREE);
    HTREEITEM top = TreeView_GetRoot(tree);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(view->TextControl()->text(), "Mode,fast");
    TreeView_SelectItem(tree, TreeView_GetChild(tree, top));
    PumpFor(100);
    EXPECT_EQ(view->TextControl()->text(), "line one of the log");
}

TEST_F(ViewsTest, ReplacingWithTheSameClassKeepsTheView) {
    ContentView* first = app_->frame().ReplaceRightView(ViewKind::Text);
    ContentView* second = app_->frame().ReplaceRightView(ViewKind::Text);
    EXPECT_EQ(first, second);
    EXPECT_STREQ(app_->frame().ReplaceRightView(ViewKind::Refresh)->RuntimeClass(), "ProgressPane");
}

}  // namespace
}  // namespace kavlo::ui::testing
