#include "present/list_sort.h"

#include <gtest/gtest.h>

namespace kavlo::ui {
namespace {

struct CompareCase {
    const char* name;
    SortType type;
    const char* a;
    const char* b;
    int expected;  // sign of the ascending comparison
};

class CompareCellsTest : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CompareCellsTest, OrdersAscending) {
    const CompareCase& c = GetParam();
    EXPECT_EQ(CompareCells(c.type, c.a, c.b), c.expected);
    EXPECT_EQ(CompareCells(c.type, c.b, c.a), -c.expected) << "the comparison must be antisymmetric";
}

INSTANTIATE_TEST_SUITE_P(
    SortTypes, CompareCellsTest,
    ::testing::Values(CompareCase{"IntNineBeforeTen", SortType::Int, "9", "10", -1},
                      CompareCase{"IntNegative", SortType::Int, "-3", "2", -1},
                      CompareCase{"IntEqualWithSuffix", SortType::Int, "12 KB", "12", 0},
                      CompareCase{"IntNonNumberIsZero", SortType::Int, "abc", "1", -1},
                      CompareCase{"IntHugeNumbers", SortType::Int, "99999999999999999999", "5", 1},
                      CompareCase{"CaseTextOrdersTenBeforeNine", SortType::ASCIICase, "10", "9", -1},
                      CompareCase{"CaseUpperBeforeLower", SortType::ASCIICase, "Zeta", "alpha", -1},
                      CompareCase{"CasePrefixFirst", SortType::ASCIICase, "ab", "abc", -1},
                      CompareCase{"CaseHighBytesAfterAscii", SortType::ASCIICase, "\xe9", "z", 1},
                      CompareCase{"NoCaseIgnoresCase", SortType::ASCIINoCase, "alpha", "Zeta", -1},
                      CompareCase{"NoCaseEqual", SortType::ASCIINoCase, "ABC", "abc", 0},
                      CompareCase{"NoCasePrefixFirst", SortType::ASCIINoCase, "AB", "abc", -1},
                      CompareCase{"NoSortEqual", SortType::NoSort, "b", "a", 0}),
    [](const ::testing::TestParamInfo<CompareCase>& info) { return std::string(info.param.name); });

TEST(ParseSortTypes, ByHowEntriesBegin) {
    const auto types = ParseSortTypes("NoSort,ASCIICase,ASCIINoCase,INT,INTEGER,Bogus,,asciicase");
    const std::vector<SortType> expected = {SortType::NoSort, SortType::ASCIICase, SortType::ASCIINoCase,
                                            SortType::Int,    SortType::Int,       SortType::NoSort,
                                            SortType::NoSort, SortType::NoSort};
    EXPECT_EQ(types, expected);
    EXPECT_EQ(SortTypeOf(types, 3), SortType::Int);
    EXPECT_EQ(SortTypeOf(types, 40), SortType::NoSort);
    EXPECT_TRUE(ParseSortTypes("").empty());
}

TEST(SortState, SameColumnThreeClicksAscDescAsc) {
    SortState state;
    EXPECT_FALSE(state.Click(1).has_value());
    EXPECT_EQ(state.column(), 1u);
    EXPECT_TRUE(state.ascending());
    state.Click(1);
    EXPECT_FALSE(state.ascending());
    state.Click(1);
    EXPECT_TRUE(state.ascending());
}

TEST(SortState, NewColumnStartsAscendingAndClearsOldMark) {
    SortState state;
    state.Click(0);
    state.Click(0);  // descending
    const auto cleared = state.Click(2);
    ASSERT_TRUE(cleared.has_value());
    EXPECT_EQ(*cleared, 0u);
    EXPECT_EQ(state.column(), 2u);
    EXPECT_TRUE(state.ascending());
}

std::vector<ListRow> Rows(std::initializer_list<std::vector<std::string>> cells) {
    std::vector<ListRow> rows;
    for (const auto& c : cells) {
        ListRow row;
        row.cells = c;
        row.number = rows.size();
        rows.push_back(row);
    }
    return rows;
}

std::vector<std::size_t> Order(const std::vector<ListRow>& rows) {
    std::vector<std::size_t> order;
    for (const ListRow& row : rows) order.push_back(row.number);
    return order;
}

TEST(SortRows, IntColumnBothDirections) {
    auto rows = Rows({{"a", "10"}, {"b", "9"}, {"c", "100"}});
    SortRows(rows, 1, SortType::Int, true);
    EXPECT_EQ(Order(rows), (std::vector<std::size_t>{1, 0, 2}));
    SortRows(rows, 1, SortType::Int, false);
    EXPECT_EQ(Order(rows), (std::vector<std::size_t>{2, 0, 1}));
}

TEST(SortRows, EqualKeysKeepTheirOrderBothWays) {
    auto rows = Rows({{"x", "1"}, {"y", "1"}, {"z", "0"}});
    SortRows(rows, 1, SortType::Int, false);
    EXPECT_EQ(Order(rows), (std::vector<std::size_t>{0, 1, 2}));
    SortRows(rows, 1, SortType::Int, true);
    EXPECT_EQ(Order(rows), (std::vector<std::size_t>{2, 0, 1}));
}

TEST(SortRows, NoSortAndShortRowsAreSafe) {
    auto rows = Rows({{"b"}, {"a", "2"}, {"c", "1"}});
    SortRows(rows, 0, SortType::NoSort, true);
    EXPECT_EQ(Order(rows), (std::vector<std::size_t>{0, 1, 2}));
    SortRows(rows, 1, SortType::ASCIICase, true);  // the first row has no second cell: sorts as empty
    EXPECT_EQ(Order(rows), (std::vector<std::size_t>{0, 2, 1}));
}

}  // namespace
}  // namespace kavlo::ui
