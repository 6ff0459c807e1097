#include "present/navigation_text.h"

#include "present/list_rows.h"

namespace kavlo::ui {
namespace {

std::string TwoPartNumber(std::string_view value) {
    const std::string_view first = value.substr(0, 2);
    const std::string_view last = value.size() > 2 ? value.substr(value.size() - 2) : value;
    return std::to_string(LeadingInteger(first)) + "." + std::to_string(LeadingInteger(last));
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) return false;
    }
    return true;
}

}  // namespace

std::optional<ViewKind> ViewForKind(std::string_view kind) {
    if (kind == "text") return ViewKind::Text;
    if (kind == "filelist" || kind == "col") return ViewKind::List;
    if (kind == "tree") return ViewKind::Tree;
    if (kind == "treexp") return ViewKind::ExpTree;
    if (kind == "treexptxt") return ViewKind::ExpTreeText;
    return std::nullopt;
}

std::string ScriptInfoPage(std::string_view version, std::string_view date, std::string_view engine) {
    std::string page = "DBG File Info:\n\n  Version: ";
    page += TwoPartNumber(version);
    page += "\n  Date: ";
    page += date;
    page += "\n  Engine: ";
    page += TwoPartNumber(engine);
    page += "\n";
    return page;
}

std::string FileStatusText(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    const bool whole = slash == std::string_view::npos || slash == 0;
    return "File: " + std::string(whole ? path : path.substr(slash + 1));
}

std::string ToClipboardText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += "\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string FilterPatterns(std::string_view extensions) {
    std::string patterns;
    std::size_t start = 0;
    while (start <= extensions.size()) {
        const std::size_t semicolon = extensions.find(';', start);
        const std::string_view one =
            extensions.substr(start, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - start);
        if (!one.empty()) {
            if (!patterns.empty()) patterns += ';';
            patterns += '*';
            patterns += one;
        }
        if (semicolon == std::string_view::npos) break;
        start = semicolon + 1;
    }
    return patterns;
}

bool MatchesReportType(std::string_view path, std::string_view extensions) {
    const std::size_t slash = path.find_last_of("\\/");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) return false;
    const std::string_view extension = name.substr(dot);
    std::size_t start = 0;
    while (start <= extensions.size()) {
        const std::size_t semicolon = extensions.find(';', start);
        const std::string_view one =
            extensions.substr(start, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - start);
        if (!one.empty() && EqualNoCase(one, extension)) return true;
        if (semicolon == std::string_view::npos) break;
        start = semicolon + 1;
    }
    return false;
}

}  // namespace kavlo::ui
