#include "present/list_rows.h"

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include "present/column_spec.h"

namespace kavlo::ui {
namespace {

using ::testing::ElementsAre;

std::vector<std::vector<std::string>> CellsOf(const std::vector<ListRow>& rows) {
    std::vector<std::vector<std::string>> cells;
    for (const ListRow& row : rows) cells.push_back(row.cells);
    return cells;
}

struct RowCase {
    const char* name;
    const char* text;
    bool fileList;
    std::vector<std::vector<std::string>> cells;
    std::vector<int> images;
};

class DecodeRowsTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(DecodeRowsTest, GivesCellsAndImages) {
    const RowCase& c = GetParam();
    const std::vector<ListRow> rows = DecodeRows(c.text, c.fileList);
    EXPECT_EQ(CellsOf(rows), c.cells);
    std::vector<int> images;
    for (const ListRow& row : rows) images.push_back(row.image);
    if (!c.images.empty()) {
        EXPECT_EQ(images, c.images);
    }
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].number, i);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, DecodeRowsTest,
    ::testing::Values(RowCase{"EmptyCellIsBlank", "a,,c\n", false, {{"a", " ", "c"}}, {}},
                      RowCase{"FileListImage", "2,x.dll,1.0\n", true, {{"x.dll", "1.0"}}, {2}},
                      RowCase{"EmptyText", "", false, {{" "}}, {}},
                      RowCase{"EmptyTextFileList", "", true, {{" "}}, {0}},
                      RowCase{"TwoRowsInOrder", "b,1\na,2\n", false, {{"b", "1"}, {"a", "2"}}, {}},
                      RowCase{"FinalLineWithoutLineFeedIsShown", "a\nb", false, {{"a"}, {"b"}}, {}},
                      RowCase{"EmptyLineIsBlankRow", "a\n\nb\n", false, {{"a"}, {" "}, {"b"}}, {}},
                      RowCase{"TrailingCommaGivesBlankCell", "a,\n", false, {{"a", " "}}, {}},
                      RowCase{"LeadingCommaGivesBlankCell", ",b\n", false, {{" ", "b"}}, {}},
                      RowCase{"FileListImageOnly", "3\n", true, {{" "}}, {3}},
                      RowCase{"FileListBadImageIsZero", "x,a\n-4,b\n", true, {{"a"}, {"b"}}, {0, 0}},
                      RowCase{"FileListHugeImageIsZero", "99999999999999999999,a\n", true, {{"a"}}, {0}},
                      RowCase{"SingleLineFeed", "\n", false, {{" "}}, {}}),
    [](const ::testing::TestParamInfo<RowCase>& info) { return std::string(info.param.name); });

TEST(LeadingInteger, ReadsAsAtoiDoes) {
    EXPECT_EQ(LeadingInteger("  42abc"), 42);
    EXPECT_EQ(LeadingInteger("-7"), -7);
    EXPECT_EQ(LeadingInteger("+9"), 9);
    EXPECT_EQ(LeadingInteger("abc"), 0);
    EXPECT_EQ(LeadingInteger(""), 0);
    EXPECT_EQ(LeadingInteger("123456789012345678901234567890"), std::numeric_limits<long long>::max());
}

TEST(ColumnSpec, ReadsNameWidthPairs) {
    const auto columns = ParseColumnSpec("Date,25,Event,22,Computer,13\n");
    ASSERT_EQ(columns.size(), 3u);
    EXPECT_EQ(columns[0].name, "Date");
    EXPECT_EQ(columns[0].widthChars, 25);
    EXPECT_EQ(columns[2].name, "Computer");
    EXPECT_EQ(columns[2].widthChars, 13);
}

TEST(ColumnSpec, MalformedWidthsAreBounded) {
    const auto columns = ParseColumnSpec("A,x,B,-5,C,999999999999,D");
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[0].widthChars, 0);
    EXPECT_EQ(columns[1].widthChars, 0);
    EXPECT_EQ(columns[2].widthChars, kMaxColumnChars);
    EXPECT_EQ(columns[3].name, "D");
    EXPECT_EQ(columns[3].widthChars, 0);
}

TEST(ColumnSpec, EmptySpecHasNoColumns) {
    EXPECT_TRUE(ParseColumnSpec("").empty());
    EXPECT_TRUE(ParseColumnSpec("\n").empty());
}

TEST(SplitCells, KeepsEveryField) {
    EXPECT_THAT(SplitCells(",,"), ElementsAre(" ", " ", " "));
    EXPECT_THAT(SplitCells("only"), ElementsAre("only"));
}

}  // namespace
}  // namespace kavlo::ui
