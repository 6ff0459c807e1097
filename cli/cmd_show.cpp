// kavlo show: a report's navigation outline, one title's content, or its information page.
#include <cstdio>
#include <string>

#include "cli/commands.h"
#include "cli/report_cli.h"

namespace kavlo::cli {
namespace {

constexpr const char* kShowUsage =
    "usage: kavlo show FILE [--title NAME | --info]\n"
    "\n"
    "Prints the outline of a report (.IFO or .gz): the computer, its scripts and\n"
    "their titles with the size of each title's output. With --title, the content\n"
    "of the titles of that name (NAME or SCRIPT/NAME): lists as aligned columns,\n"
    "trees indented. With --info, the information page.\n";

}  // namespace

int ShowCommand(const Args& args) {
    std::string path, titleName;
    bool wantTitle = false, wantInfo = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kShowUsage, stdout);
            return 0;
        }
        if (arg == "--title" && i + 1 < args.size()) {
            titleName = args[++i];
            wantTitle = true;
        } else if (arg == "--info") {
            wantInfo = true;
        } else if (path.empty() && !arg.empty() && arg[0] != '-') {
            path = arg;
        } else {
            std::fprintf(stderr, "kavlo show: bad argument '%s'\n%s", arg.c_str(), kShowUsage);
            return 2;
        }
    }
    if (path.empty() || (wantTitle && wantInfo)) {
        std::fputs(kShowUsage, stderr);
        return 2;
    }

    report::ReportContents report;
    if (!LoadReport(path, report)) return 1;
    if (wantInfo) return WriteOutput("", ToUtf8(TitleAsText(report.infoPage))) ? 0 : 1;
    if (!wantTitle)
        return WriteOutput("", ToUtf8(Outline(report.navigation, report.catalog,
                                              report::OpenedRootLabel(report.navigation.Text()))))
                   ? 0
                   : 1;

    std::string text;
    std::size_t matches = 0;
    for (const auto& file : report.catalog) {
        for (const auto& title : file->titles) {
            if (title->name != titleName && file->fileName + "/" + title->name != titleName) continue;
            if (matches++) text += "\n";
            text += "== " + file->fileName + " / " + title->name + " ==\n";
            text += TitleAsText(*title);
        }
    }
    if (matches == 0) {
        std::fprintf(stderr, "kavlo show: no title '%s' in %s\n", titleName.c_str(), path.c_str());
        return 1;
    }
    return WriteOutput("", ToUtf8(text)) ? 0 : 1;
}

}  // namespace kavlo::cli
