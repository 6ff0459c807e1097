#include "cli/report_cli.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <unordered_map>
#include <vector>

#include "cli/tree_text.h"
#include "engine/tree_fill.h"
#include "engine/tree_walk.h"
#include "platform/codepage.h"
#include "report/report_file.h"
#include "present/column_spec.h"
#include "present/list_rows.h"

namespace kavlo::cli {
namespace {

std::size_t LineCount(std::string_view text) {
    std::size_t lines = 0;
    for (char c : text) lines += c == '\n';
    if (!text.empty() && text.back() != '\n') ++lines;
    return lines;
}

std::string Plural(std::size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

std::string Summary(const TitleRecord& title) {
    std::string summary = " (" + (title.kind.empty() ? std::string("no kind") : title.kind) + ", ";
    if (title.runPending == 1 && !HasOutput(title)) return summary + "not gathered)";
    if (!HasOutput(title)) return summary + "no output)";
    std::vector<std::string> parts;
    if (title.HasTree() && !title.root.children().empty()) parts.push_back(Plural(title.root.CountNodes() - 1, "node"));
    if (!title.text.empty()) parts.push_back(Plural(LineCount(title.text), title.IsList() ? "row" : "line"));
    for (std::size_t i = 0; i < parts.size(); ++i) summary += (i ? ", " : "") + parts[i];
    return summary + ")";
}

/// Every occurrence of the expandable tree markers removed.
std::string WithoutMarkers(std::string title) {
    for (std::string_view marker : kExpandableMarkers) {
        for (auto pos = title.find(marker); pos != std::string::npos; pos = title.find(marker, pos))
            title.erase(pos, marker.size());
    }
    return title;
}

void AppendTree(std::string& out, const TitleRecord& title) {
    const bool expandable = title.IsExpandableTree();
    WalkTree(title.root, kAnyDepth, [&](const ResultNode& node, std::size_t depth) {
        AppendTreeIndent(out, depth);
        out += expandable ? WithoutMarkers(node.title()) : TreeItemOf(node.title()).text;
        out += '\n';
        return Visit::Children;
    });
}

void AppendList(std::string& out, const TitleRecord& title) {
    std::vector<std::vector<std::string>> table;
    std::vector<std::string> header;
    for (const ui::ColumnSpec& column : ui::ParseColumnSpec(title.kindDetail)) header.push_back(column.name);
    if (!header.empty()) table.push_back(header);
    const std::size_t firstRow = table.size();
    if (!title.text.empty())
        for (ui::ListRow& row : ui::DecodeRows(title.text, title.IsFileList())) table.push_back(std::move(row.cells));

    std::vector<std::size_t> widths;
    for (const auto& row : table) {
        if (widths.size() < row.size()) widths.resize(row.size(), 0);
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], row[i].size());
    }
    auto appendRow = [&](const std::vector<std::string>& row) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i) line += "  ";
            line += row[i];
            if (i + 1 < row.size()) line.append(widths[i] - row[i].size(), ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\n";
    };
    for (std::size_t r = 0; r < table.size(); ++r) {
        appendRow(table[r]);
        if (r + 1 == firstRow) {
            std::vector<std::string> rule;
            for (std::size_t i = 0; i < header.size(); ++i) rule.emplace_back(widths[i], '-');
            appendRow(rule);
        }
    }
}

}  // namespace

bool LoadReport(const std::string& path, report::ReportContents& out, std::uint32_t codePage) {
    report::OpenOptions options;
    options.codePage = codePage;
    const report::FileOutcome outcome = report::OpenReportFile(path, out, options);
    if (!outcome.ok) {
        PrintFailure(outcome);
        return false;
    }
    report::NodeKeys keys;
    report::RekeyAfterOpen(out.navigation, out.catalog, keys);
    return true;
}

bool HasOutput(const TitleRecord& title) {
    return !title.text.empty() || (title.HasTree() && !title.root.children().empty());
}

std::string Outline(const NavNode& model, const report::Catalog& catalog, const std::string& rootLabel) {
    std::unordered_map<std::uint32_t, const TitleRecord*> titles;
    for (const auto& file : catalog)
        for (const auto& title : file->titles)
            if (title->treeKey) titles.emplace(title->treeKey, title.get());
    std::string out;
    WalkTree(model, kAnyDepth, [&](const NavNode& node, std::size_t depth) {
        AppendTreeIndent(out, depth);
        out += depth == 0 ? rootLabel : node.Text();
        if (const auto found = titles.find(node.key()); found != titles.end() && depth > 0)
            out += Summary(*found->second);
        out += '\n';
        return Visit::Children;
    });
    return out;
}

std::string TitleAsText(const TitleRecord& title) {
    std::string out;
    if (title.IsList()) {
        AppendList(out, title);
        return out;
    }
    // A tree title that was never gathered has an unnamed, empty root: nothing to show.
    if (title.HasTree() && !(title.root.title().empty() && title.root.children().empty())) AppendTree(out, title);
    out += title.text;
    if (!out.empty() && out.back() != '\n') out += '\n';
    return out;
}

std::string ToUtf8(std::string_view text, std::uint32_t codePage) { return AnsiToUtf8(text, codePage); }

void PrintFailure(const report::FileOutcome& outcome) {
    std::string text = outcome.message + "\n";
    if (!outcome.reason.empty()) text += "(" + outcome.reason + ")\n";
    std::fputs(text.c_str(), stderr);
}

bool WriteOutput(const std::string& path, std::string_view data) {
    if (path.empty()) {
        const bool ok = std::fwrite(data.data(), 1, data.size(), stdout) == data.size() && std::fflush(stdout) == 0;
        if (!ok) std::fputs("kavlo: cannot write to standard output\n", stderr);
        return ok;
    }
    report::AtomicOutput output;
    report::FileOutcome outcome = output.Open(path, report::AtomicOutput::Targets::StreamsToo);
    if (outcome.ok) {
        errno = 0;
        if (std::fwrite(data.data(), 1, data.size(), output.file()) != data.size())
            outcome = output.Abandon(errno ? errno : EIO);
        else outcome = output.Commit();
    }
    if (!outcome.ok) PrintFailure(outcome);
    return outcome.ok;
}

bool StderrIsTerminal() { return isatty(fileno(stderr)) != 0; }

}  // namespace kavlo::cli
