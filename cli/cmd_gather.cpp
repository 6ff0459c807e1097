// kavlo gather: a new report of every title of the scripts, saved (and compressed).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "probes/registration.h"
#include "cli/commands.h"
#include "cli/report_cli.h"
#include "engine/os_detection.h"
#include "platform/machine_factory.h"
#include "platform/program_folder.h"
#include "document/report_document.h"
#include "document/standard_info_page.h"

namespace kavlo::cli {
namespace {

constexpr const char* kGatherUsage =
    "usage: kavlo gather [--scripts DIR] [--machine DIR] [-o FILE] [--gz]\n"
    "\n"
    "Gathers every title of the scripts in DIR on the machine and saves the report as\n"
    "FILE (default: the computer name and the time, \"NAME MM_DD_YYYY HH_MM_PM.IFO\",\n"
    "in the current directory). With --gz the report is compressed to FILE.gz.\n"
    "Progress goes to stderr, the outline to stdout.\n"
    "\n"
    "Default scripts: those installed with the program (beside it, or in\n"
    "../share/kavlo/scripts), else those of the source tree it was built from.\n"
    "Default machine: this computer on Windows; elsewhere the installed sample\n"
    "machine, else the source tree's.\n";

struct GatherOptions {
    std::string scripts;
    std::string machine;
    std::string output;
    bool gzip = false;
};

/// The bundled scripts: beside the program (the Windows ZIP), in the installed
/// data folder (the Linux package), in the source tree of a build, else
/// "scripts" in the current directory.
std::string DefaultScriptsFolder() {
    namespace fs = std::filesystem;
    std::error_code ec;
    const std::string program = platform::ProgramFolder();
    if (!program.empty() && fs::is_regular_file(fs::path(program) / "DBGList.cfg", ec)) return program;
    const std::string installed = platform::InstalledDataFolder();
    if (!installed.empty() && fs::is_directory(installed + "/scripts", ec)) return installed + "/scripts";
    if (fs::is_directory(KAVLO_DEFAULT_SCRIPTS_DIR, ec)) return KAVLO_DEFAULT_SCRIPTS_DIR;
    return "scripts";
}

/// Parses the arguments; false with a message for bad ones.
bool Parse(const Args& args, GatherOptions& options, int& exitCode) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(kGatherUsage, stdout);
            exitCode = 0;
            return false;
        }
        bool ok = true;
        if (arg == "--scripts") ok = value(options.scripts);
        else if (arg == "--machine") ok = value(options.machine);
        else if (arg == "-o" || arg == "--output") ok = value(options.output);
        else if (arg == "--gz") options.gzip = true;
        else ok = false;
        if (!ok) {
            std::fprintf(stderr, "kavlo gather: bad argument '%s'\n%s", arg.c_str(), kGatherUsage);
            exitCode = 2;
            return false;
        }
    }
    return true;
}

/// Draws the save progress: a bar on a terminal, a line per title elsewhere.
class ProgressPrinter {
public:
    explicit ProgressPrinter(bool terminal) : terminal_(terminal) {}
    ~ProgressPrinter() { Finish(); }

    void Step(std::size_t step, std::size_t total, const std::string& text) {
        const std::string shown = ToUtf8(text);
        if (!terminal_) {
            std::fprintf(stderr, "[%zu/%zu] %s\n", step + 1, total, shown.c_str());
            return;
        }
        constexpr std::size_t kBar = 30;
        constexpr std::size_t kTextChars = 60;
        const std::size_t filled = total ? (step + 1) * kBar / total : kBar;
        std::string line = "\r[" + std::string(filled, '#') + std::string(kBar - filled, '-') + "] " +
                           std::to_string(step + 1) + "/" + std::to_string(total) + " ";
        std::size_t cut = std::min(shown.size(), kTextChars);
        while (cut < shown.size() && cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80) --cut;
        line += shown.substr(0, cut);  // whole UTF-8 characters only
        // Blanks, not a terminal escape, clear what a longer previous line left
        // behind: consoles that do not understand escapes would print them.
        const std::size_t length = line.size();
        if (length < lastLength_) line.append(lastLength_ - length, ' ');
        lastLength_ = length;
        std::fputs(line.c_str(), stderr);
        std::fflush(stderr);
        drawn_ = true;
    }

    void Finish() {
        if (drawn_) std::fputs("\n", stderr);
        drawn_ = false;
    }

private:
    bool terminal_;
    bool drawn_ = false;
    std::size_t lastLength_ = 0;
};

}  // namespace

int GatherCommand(const Args& args) {
    GatherOptions options;
    int exitCode = 0;
    if (!Parse(args, options, exitCode)) return exitCode;
    if (options.scripts.empty()) options.scripts = DefaultScriptsFolder();
    std::error_code ec;
    if (!std::filesystem::is_directory(options.scripts, ec)) {
        std::fprintf(stderr, "kavlo gather: no script folder '%s'\n", options.scripts.c_str());
        return 1;
    }
    const std::string executionPath = std::filesystem::absolute(options.scripts, ec).string();

    platform::MachineChoice choice = platform::OpenMachine(options.machine);
    if (!choice.machine) {
        std::fprintf(stderr, "kavlo gather: %s\n", choice.error.c_str());
        return 1;
    }
    platform::Machine& machine = *choice.machine;
    AppContext context(machine, DetectOs(machine), executionPath);
    ReportDocument doc(context, StandardCommandTable());
    doc.SetInfoPageProbes(report::StandardInfoPageProbes());
    doc.NewDocument(executionPath);

    const std::string path = options.output.empty() ? doc.ReportFileName() : options.output;
    report::FileOutcome outcome;
    {
        ProgressPrinter progress(StderrIsTerminal());
        outcome = doc.Save(path, [&](std::size_t step, std::size_t total, const std::string& text) {
            progress.Step(step, total, text);
        });
    }
    if (!outcome.ok) {
        std::fputs((outcome.message + "\n").c_str(), stderr);
        return 1;
    }
    std::string saved = path;
    if (options.gzip) {
        outcome = ReportDocument::Compress(path, &saved);
        if (!outcome.ok) {
            std::fputs((outcome.message + "\n").c_str(), stderr);
            return 1;
        }
    }

    std::size_t withOutput = 0;
    for (const auto& file : doc.catalog())
        for (const auto& title : file->titles) withOutput += HasOutput(*title);
    std::string text = ToUtf8(Outline(doc.navigation(), doc.catalog(), doc.RootLabel()));
    text += "\n" + std::to_string(doc.catalog().size()) + " scripts, " + std::to_string(doc.CountTitles()) +
            " titles, " + std::to_string(withOutput) + " with output\n";
    text += "Scripts: " + executionPath + "\n";
    text += "Machine: " + (choice.folder.empty() ? std::string("this computer") : choice.folder) + "\n";
    text += "Report saved to " + saved + "\n";
    return WriteOutput("", text) ? 0 : 1;
}

}  // namespace kavlo::cli
