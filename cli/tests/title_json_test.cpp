#include "cli/title_json.h"

#include <gtest/gtest.h>

namespace kavlo::cli {
namespace {

TEST(JsonString, EscapesQuotesBackslashesAndControls) {
    std::string out;
    AppendJsonString(out, std::string("a\"b\\c\n\r\t\x01\x1f\x7f", 11));
    EXPECT_EQ(out, "\"a\\\"b\\\\c\\n\\r\\t\\u0001\\u001f\x7f\"");
}

TEST(TitleJson, DeepTreesAreWrittenWithoutRecursion) {
    ResultNode root("r", "");
    ResultNode* node = &root;
    for (int i = 0; i < 100000; ++i) node = &node->AddChild("n");
    std::string out;
    WriteNodeJson(out, root, 1252);
    EXPECT_EQ(out.size(), (100001u * std::string("{\"title\":\"n\",\"children\":[]}").size()));
}

}  // namespace
}  // namespace kavlo::cli
