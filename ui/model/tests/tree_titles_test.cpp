#include "ui/model/tree_titles.h"

#include <gtest/gtest.h>

namespace kavlo::ui {
namespace {

struct StateCase {
    const char* name;
    const char* title;
    const char* label;
    int image;
};

class DecodeStateTitleTest : public ::testing::TestWithParam<StateCase> {};

TEST_P(DecodeStateTitleTest, SplitsImageAndLabel) {
    const StateCase& c = GetParam();
    const TreeLabel label = DecodeStateTitle(c.title);
    EXPECT_EQ(label.text, c.label);
    EXPECT_EQ(label.stateImage, c.image);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, DecodeStateTitleTest,
    ::testing::Values(StateCase{"BarredIndex", "|03|Running", "Running", 3},
                      StateCase{"CheckItemCode", "||01 Enable logging", " Enable logging", 1},
                      StateCase{"SingleDigitField", "|2| Enabled", "Enabled", 2},
                      StateCase{"PlainTitle", "Running", "Running", -1},
                      StateCase{"BarInsideIsPlain", "a|03|b", "a|03|b", -1},
                      StateCase{"ShortField", "|7", "", 7},
                      StateCase{"OnlyBar", "|", "", 0},
                      StateCase{"NonDigitsGiveZero", "|xx|label", "label", 0},
                      StateCase{"Empty", "", "", -1}),
    [](const ::testing::TestParamInfo<StateCase>& info) { return std::string(info.param.name); });

struct MarkerCase {
    const char* name;
    const char* title;
    bool isNode;
    const char* label;
};

class ExpandableNodeLabelTest : public ::testing::TestWithParam<MarkerCase> {};

TEST_P(ExpandableNodeLabelTest, SplitsNodesFromEntries) {
    const MarkerCase& c = GetParam();
    const auto label = ExpandableNodeLabel(c.title);
    ASSERT_EQ(label.has_value(), c.isNode);
    if (c.isNode) {
        EXPECT_EQ(*label, c.label);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Markers, ExpandableNodeLabelTest,
    ::testing::Values(MarkerCase{"SquareMarker", "[D] Services", true, "Services"},
                      MarkerCase{"BraceMarker", "{D} Drivers", true, "Drivers"},
                      MarkerCase{"MarkerLaterIsEntry", "Services [D] ", false, ""},
                      MarkerCase{"EveryOccurrenceRemoved", "[D] a[D] b", true, "ab"},
                      MarkerCase{"OtherMarkerKept", "[D] a{D} b", true, "a{D} b"},
                      MarkerCase{"MarkerOnly", "[D] ", true, ""},
                      MarkerCase{"NoBlankIsEntry", "[D]x", false, ""},
                      MarkerCase{"PlainEntry", "x.dll,1.0", false, ""}),
    [](const ::testing::TestParamInfo<MarkerCase>& info) { return std::string(info.param.name); });

TEST(DetailSorts, LooksForTheWord) {
    EXPECT_TRUE(DetailSorts("sort"));
    EXPECT_TRUE(DetailSorts("Name,20,sort"));
    EXPECT_FALSE(DetailSorts("Sort"));
    EXPECT_FALSE(DetailSorts(""));
}

}  // namespace
}  // namespace kavlo::ui
