// Lists and trees as the views show them: rows and cells, columns, sorting, tree markers.
#include <gtest/gtest.h>

#include "present/column_spec.h"
#include "present/list_rows.h"
#include "present/list_sort.h"
#include "present/tree_titles.h"

namespace kavlo::ui {
namespace {

using Cells = std::vector<std::vector<std::string>>;

TEST(DecodeRows, CellsImagesAndNumbers) {
    struct Case {
        const char* text;
        bool fileList;
        Cells cells;
        std::vector<int> images;  // empty: not checked
    };
    const Case cases[] = {
        {"a,,c\n", false, {{"a", " ", "c"}}, {}},
        {",b,\n", false, {{" ", "b", " "}}, {}},
        {"\n", false, {{" "}}, {}},
        {"b,1\n\na", false, {{"b", "1"}, {" "}, {"a"}}, {}},
        {"", true, {{" "}}, {0}},
        {"3\n", true, {{" "}}, {3}},
        {"x,a\n-4,b\n99999999999999999999,c\n", true, {{"a"}, {"b"}, {"c"}}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<ListRow> rows = DecodeRows(c.text, c.fileList);
        Cells cells;
        std::vector<int> images;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            cells.push_back(rows[i].cells);
            images.push_back(rows[i].image);
            EXPECT_EQ(rows[i].number, i);
        }
        EXPECT_EQ(cells, c.cells);
        if (!c.images.empty()) {
            EXPECT_EQ(images, c.images);
        }
    }
}

TEST(ColumnSpec, NameWidthPairsWithBoundedWidths) {
    const auto columns = ParseColumnSpec("Date,25,A,x,B,-5,C,999999999999,D\n");
    ASSERT_EQ(columns.size(), 5u);
    EXPECT_EQ(columns[0].name, "Date");
    EXPECT_EQ(columns[0].widthChars, 25);
    EXPECT_EQ(columns[1].widthChars, 0);
    EXPECT_EQ(columns[2].widthChars, 0);
    EXPECT_EQ(columns[3].widthChars, kMaxColumnChars);
    EXPECT_EQ(columns[4].name, "D");
    EXPECT_EQ(columns[4].widthChars, 0);
    EXPECT_TRUE(ParseColumnSpec("").empty());
    EXPECT_TRUE(ParseColumnSpec("\n").empty());
}

TEST(CompareCells, OrdersAscendingAndAntisymmetric) {
    struct Case {
        SortType type;
        const char* a;
        const char* b;
        int expected;  // sign of the ascending comparison
    };
    const Case cases[] = {
        {SortType::Int, "-3", "2", -1},
        {SortType::Int, "12 KB", "12", 0},
        {SortType::Int, "  +42abc", "42", 0},  // read as atoi reads
        {SortType::Int, "abc", "1", -1},
        {SortType::Int, "99999999999999999999", "5", 1},
        {SortType::ASCIICase, "10", "9", -1},
        {SortType::ASCIICase, "Zeta", "alpha", -1},
        {SortType::ASCIICase, "ab", "abc", -1},
        {SortType::ASCIICase, "\xe9", "z", 1},
        {SortType::ASCIINoCase, "alpha", "Zeta", -1},
        {SortType::ASCIINoCase, "ABC", "abc", 0},
        {SortType::ASCIINoCase, "AB", "abc", -1},
        {SortType::NoSort, "b", "a", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.a) + " / " + c.b);
        EXPECT_EQ(CompareCells(c.type, c.a, c.b), c.expected);
        EXPECT_EQ(CompareCells(c.type, c.b, c.a), -c.expected);
    }
}

TEST(ParseSortTypes, ByHowEntriesBegin) {
    const auto types = ParseSortTypes("NoSort,ASCIICase,ASCIINoCase,INT,INTEGER,Bogus,,asciicase");
    const std::vector<SortType> expected = {SortType::NoSort, SortType::ASCIICase, SortType::ASCIINoCase,
                                            SortType::Int,    SortType::Int,       SortType::NoSort,
                                            SortType::NoSort, SortType::NoSort};
    EXPECT_EQ(types, expected);
    EXPECT_EQ(SortTypeOf(types, 40), SortType::NoSort);
    EXPECT_TRUE(ParseSortTypes("").empty());
}

std::vector<std::size_t> Sorted(Cells cells, std::size_t column, SortType type, bool ascending) {
    std::vector<ListRow> rows;
    for (auto& c : cells) rows.push_back(ListRow{0, std::move(c), rows.size()});
    SortRows(rows, column, type, ascending);
    std::vector<std::size_t> order;
    for (const ListRow& row : rows) order.push_back(row.number);
    return order;
}

TEST(SortRows, StableBothWaysAndSafeForShortRows) {
    using Order = std::vector<std::size_t>;
    const Cells numbers = {{"a", "10"}, {"b", "9"}, {"c", "100"}, {"d", "9"}};
    EXPECT_EQ(Sorted(numbers, 1, SortType::Int, true), (Order{1, 3, 0, 2}));
    EXPECT_EQ(Sorted(numbers, 1, SortType::Int, false), (Order{2, 0, 1, 3}));
    const Cells ragged = {{"b"}, {"a", "2"}, {"c", "1"}};
    EXPECT_EQ(Sorted(ragged, 0, SortType::NoSort, true), (Order{0, 1, 2}));
    // the first row has no second cell: it sorts as empty
    EXPECT_EQ(Sorted(ragged, 1, SortType::ASCIICase, true), (Order{0, 2, 1}));
}

TEST(TreeTitles, OnlyLeadingMarkersMakeNodes) {
    const std::pair<const char*, bool> cases[] = {
        {"[D] Services", true}, {"{D} Drivers", true}, {"[D] ", true},       {"Services [D] ", false},
        {"[D]x", false},        {"[d] x", false},      {"x.dll,1.0", false}, {"", false},
    };
    for (const auto& [title, node] : cases) EXPECT_EQ(IsTreeNodeTitle(title), node) << title;
}

TEST(TreeTitles, EntryLineHasOwnFieldsAfterTheTitle) {
    // "foo.dll,1200" below a parent with columns: title foo.dll, own extra 1200.
    EXPECT_EQ(EntryLine("foo.dll", "1200", "Name,20,Size,10"), "foo.dll,1200");
    // "foo.dll" alone inherits the parent's columns, which are not a row's fields.
    EXPECT_EQ(EntryLine("foo.dll", "Name,20,Size,10", "Name,20,Size,10"), "foo.dll");
    EXPECT_EQ(EntryLine("plain", "", ""), "plain");
    EXPECT_EQ(EntryLine("a", ",", ""), "a,,");
}

}  // namespace
}  // namespace kavlo::ui
