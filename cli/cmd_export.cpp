// kavlo export: a whole report as JSON (for tools) or as text (for people).
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/report_cli.h"
#include "cli/title_json.h"
#include "engine/tree_walk.h"

namespace kavlo::cli {
namespace {

constexpr const char* kExportUsage =
    "usage: kavlo export FILE --format json|text [-o OUT]\n"
    "\n"
    "Writes the whole report (.IFO or .gz) to OUT (default: standard output), as\n"
    "JSON (see docs/json-export.md) or as text: the outline, the information page\n"
    "and every title's content. Text is UTF-8 in both forms.\n";

// Reports hold Windows-1252 text unless the machine that wrote them said otherwise.
constexpr std::uint32_t kReportCodePage = 1252;

void AppendNavigationJson(std::string& out, const NavNode& root) {
    WalkTree(
        root, kAnyDepth,
        [&](const NavNode& node, std::size_t depth) {
            if (depth > 0 && out.back() != '[') out += ',';
            out += "{\"text\":";
            AppendJsonText(out, node.Text(), kReportCodePage);
            out += ",\"key\":" + std::to_string(node.key()) + ",\"children\":[";
            return Visit::Children;
        },
        [&](const NavNode&, std::size_t) { out += "]}"; });
}

std::string ReportJson(const report::ReportContents& report) {
    std::string out = "{\"format_version\":" + std::to_string(report.formatVersion) +
                      ",\"build\":" + std::to_string(report.buildNumber) + ",\"navigation\":";
    AppendNavigationJson(out, report.navigation);
    out += ",\"info_page\":";
    WriteTitleJson(out, report.infoPage, kReportCodePage);
    out += ",\"scripts\":[";
    for (std::size_t f = 0; f < report.catalog.size(); ++f) {
        const ScriptRecord& file = *report.catalog[f];
        if (f) out += ',';
        out += "{\"path\":";
        AppendJsonText(out, file.path, kReportCodePage);
        out += ",\"key\":" + std::to_string(file.treeKey) + ",\"file_name\":";
        AppendJsonText(out, file.fileName, kReportCodePage);
        out += ",\"titles\":[";
        for (std::size_t t = 0; t < file.titles.size(); ++t) {
            if (t) out += ',';
            WriteTitleJson(out, *file.titles[t], kReportCodePage);
        }
        out += "]}";
    }
    out += "]}\n";
    return out;
}

std::string ReportText(const report::ReportContents& report) {
    std::string out = Outline(report.navigation, report.catalog, report::OpenedRootLabel(report.navigation.Text()));
    out += "\n== Information page ==\n" + TitleAsText(report.infoPage);
    for (const auto& file : report.catalog) {
        for (const auto& title : file->titles) {
            out += "\n== " + file->fileName + " / " + title->name + " (" + title->kind + ") ==\n";
            out += TitleAsText(*title);
        }
    }
    return ToUtf8(out, kReportCodePage);
}

}  // namespace

int ExportCommand(const Args& args) {
    std::string path, format, output;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kExportUsage, stdout);
            return 0;
        }
        if (arg == "--format" && i + 1 < args.size()) {
            format = args[++i];
        } else if ((arg == "-o" || arg == "--output") && i + 1 < args.size()) {
            output = args[++i];
        } else if (path.empty() && !arg.empty() && arg[0] != '-') {
            path = arg;
        } else {
            std::fprintf(stderr, "kavlo export: bad argument '%s'\n%s", arg.c_str(), kExportUsage);
            return 2;
        }
    }
    if (path.empty() || (format != "json" && format != "text")) {
        std::fputs(kExportUsage, stderr);
        return 2;
    }
    report::ReportContents report;
    if (!LoadReport(path, report, kReportCodePage)) return 1;
    return WriteOutput(output, format == "json" ? ReportJson(report) : ReportText(report)) ? 0 : 1;
}

}  // namespace kavlo::cli
