#include "cli/title_json.h"

#include <vector>

#include "engine/tree_walk.h"
#include "platform/codepage.h"

namespace kavlo::cli {

void AppendJsonString(std::string& out, std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('"');
    for (char c : utf8) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    out += "\\u00";
                    out.push_back(kHex[(c >> 4) & 0xF]);
                    out.push_back(kHex[c & 0xF]);
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
}

void AppendJsonText(std::string& out, std::string_view ansi, std::uint32_t codePage) {
    AppendJsonString(out, AnsiToUtf8(ansi, codePage));
}

void WriteNodeJson(std::string& out, const ResultNode& node, std::uint32_t codePage) {
    WalkTree(
        node, kAnyDepth,
        [&](const ResultNode& n, std::size_t depth) {
            if (depth > 0 && out.back() != '[') out.push_back(',');
            out += "{\"title\":";
            AppendJsonText(out, n.title(), codePage);
            out += ",\"children\":[";
            return Visit::Children;
        },
        [&](const ResultNode&, std::size_t) { out += "]}"; });
}

void WriteTitleJson(std::string& out, const TitleRecord& title, std::uint32_t codePage) {
    auto field = [&](const char* name, std::string_view value, bool first = false) {
        if (!first) out.push_back(',');
        out += '"';
        out += name;
        out += "\":";
        AppendJsonText(out, value, codePage);
    };
    out.push_back('{');
    field("name", title.name, true);
    out += ",\"key\":" + std::to_string(title.treeKey);
    out += ",\"pending\":" + std::to_string(title.runPending);
    field("kind", title.kind);
    field("kind_detail", title.kindDetail);
    field("header1", title.header1);
    field("header2", title.header2);
    field("text", title.text);
    out += ",\"tree\":";
    if (title.HasTree()) WriteNodeJson(out, title.Root(), codePage);
    else out += "null";
    out.push_back('}');
}

}  // namespace kavlo::cli
