#include "cli/title_json.h"
#include "cli/tree_text.h"

#include <gtest/gtest.h>

namespace kavlo::cli {
namespace {

TEST(JsonString, EscapesQuotesBackslashesAndControls) {
    std::string out;
    AppendJsonString(out, std::string("a\"b\\c\n\r\t\x01\x1f\x7f", 11));
    EXPECT_EQ(out, "\"a\\\"b\\\\c\\n\\r\\t\\u0001\\u001f\x7f\"");
}

TEST(JsonText, ConvertsFromTheCodePage) {
    std::string out;
    AppendJsonText(out, "caf\xe9 \x80", 1252);
    EXPECT_EQ(out, "\"caf\xc3\xa9 \xe2\x82\xac\"");
}

TEST(TitleJson, TreeKindsWriteTheRootAndItsChildren) {
    TitleRecord title("T", nullptr);
    title.kind = "treexptxt";
    title.kindDetail = "Name,20";
    title.PrepareRun();
    ResultNode& a = title.Root().AddChild("[D] a");
    a.AddChild("x,1");
    title.Root().AddChild("b");
    std::string out;
    WriteTitleJson(out, title, 1252);
    EXPECT_NE(out.find("\"kind_detail\":\"Name,20\""), std::string::npos);
    EXPECT_NE(out.find("\"tree\":{\"title\":\"T\",\"children\":[{\"title\":\"[D] a\",\"children\":[{\"title\":\"x,1\","
                       "\"children\":[]}]},{\"title\":\"b\",\"children\":[]}]}}"),
              std::string::npos)
        << out;
}

TEST(TitleJson, DeepTreesAreWrittenWithoutRecursion) {
    ResultNode root("r", "");
    ResultNode* node = &root;
    for (int i = 0; i < 100000; ++i) node = &node->AddChild("n");
    std::string out;
    WriteNodeJson(out, root, 1252);
    EXPECT_EQ(out.size(), (100001u * std::string("{\"title\":\"n\",\"children\":[]}").size()));
}

TEST(TreeIndent, BlanksUpToTheLimitThenTheLevelInBrackets) {
    std::string below, at;
    AppendTreeIndent(below, kMaxIndentLevels - 1);
    AppendTreeIndent(at, kMaxIndentLevels);
    EXPECT_EQ(below, std::string(2 * (kMaxIndentLevels - 1), ' '));
    EXPECT_EQ(at, std::string(2 * kMaxIndentLevels, ' ') + "[" + std::to_string(kMaxIndentLevels) + "] ");
}

}  // namespace
}  // namespace kavlo::cli
