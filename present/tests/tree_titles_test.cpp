#include "present/tree_titles.h"

#include <gtest/gtest.h>

namespace kavlo::ui {
namespace {

struct NodeCase {
    const char* title;
    bool node;
};

TEST(IsTreeNodeTitle, OnlyLeadingMarkersMakeNodes) {
    const NodeCase cases[] = {
        {"[D] Services", true}, {"{D} Drivers", true}, {"[D] ", true},       {"Services [D] ", false},
        {"[D]x", false},        {"[d] x", false},      {"x.dll,1.0", false}, {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsTreeNodeTitle(c.title), c.node) << c.title;
}

TEST(EntryLine, OwnFieldsFollowTheTitle) {
    // "foo.dll,1200" below a parent with columns: title foo.dll, own extra 1200.
    EXPECT_EQ(EntryLine("foo.dll", "1200", "Name,20,Size,10"), "foo.dll,1200");
    // "foo.dll" alone inherits the parent's columns, which are not a row's fields.
    EXPECT_EQ(EntryLine("foo.dll", "Name,20,Size,10", "Name,20,Size,10"), "foo.dll");
    EXPECT_EQ(EntryLine("plain", "", ""), "plain");
    EXPECT_EQ(EntryLine("a", ",", ""), "a,,");
}

}  // namespace
}  // namespace kavlo::ui
