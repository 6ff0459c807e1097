// kavlo run: catalogue one script, run its titles on a machine, print the results.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "probes/registration.h"
#include "cli/commands.h"
#include "cli/title_json.h"
#include "cli/tree_text.h"
#include "engine/tree_walk.h"
#include "engine/os_detection.h"
#include "engine/script_engine.h"
#include "engine/script_catalog.h"
#include "platform/codepage.h"
#include "platform/machine_factory.h"

namespace kavlo::cli {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRunUsage =
    "usage: kavlo run SCRIPT.dbg [--title NAME]... [--machine DIR] [--format text|json]\n"
    "\n"
    "Catalogues SCRIPT.dbg alone and runs the named titles (all of them, in catalog\n"
    "order, when none is named) in one application context, so variables carry over\n"
    "from title to title. Each title is printed with its kind, header lines, text and\n"
    "result tree. The machine is the simulated machine in DIR; without --machine it is\n"
    "this computer on Windows and the bundled sample machine elsewhere.\n";

struct RunOptions {
    std::string script;
    std::vector<std::string> titles;
    std::string machine;
    bool json = false;
};

enum class ParseOutcome { Run, Help, Bad };

ParseOutcome Parse(const Args& args, RunOptions& options) {
    auto fail = [](const std::string& why) {
        std::fprintf(stderr, "kavlo run: %s\n%s", why.c_str(), kRunUsage);
        return ParseOutcome::Bad;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") return ParseOutcome::Help;
        const bool takesValue = arg == "--title" || arg == "--machine" || arg == "--format";
        if (takesValue && i + 1 >= args.size()) return fail("option '" + arg + "' needs a value");
        if (arg == "--title") options.titles.push_back(args[++i]);
        else if (arg == "--machine") options.machine = args[++i];
        else if (arg == "--format") {
            const std::string& format = args[++i];
            if (format != "text" && format != "json") return fail("unknown format '" + format + "'");
            options.json = format == "json";
        } else if (arg.size() > 1 && arg[0] == '-') return fail("unknown option '" + arg + "'");
        else if (options.script.empty()) options.script = arg;
        else return fail("more than one script given ('" + arg + "')");
    }
    if (options.script.empty()) return fail("no script given");
    return ParseOutcome::Run;
}

int Fail(const std::string& message) {
    std::fprintf(stderr, "kavlo run: %s\n", message.c_str());
    return 1;
}

void Print(const std::string& text) { std::fwrite(text.data(), 1, text.size(), stdout); }

// Output is handed to stdout in pieces of about this size, so a huge title is
// never held twice (once as records, once as text).
constexpr std::size_t kPrintChunk = 1 << 20;

void PrintWhenFull(std::string& out) {
    if (out.size() < kPrintChunk) return;
    Print(out);
    out.clear();
}

void PrintTreeText(std::string& out, const ResultNode& root, std::uint32_t codePage) {
    WalkTree(root, kAnyDepth, [&](const ResultNode& node, std::size_t depth) {
        AppendTreeIndent(out, depth + 1);
        out += AnsiToUtf8(node.title(), codePage);
        out.push_back('\n');
        PrintWhenFull(out);
        return Visit::Children;
    });
}

void PrintTitleText(const TitleRecord& title, std::uint32_t codePage) {
    auto utf8 = [&](std::string_view s) { return AnsiToUtf8(s, codePage); };
    std::string out = "=== " + utf8(title.name) + "\n";
    out += "kind: " + utf8(title.kind);
    if (!title.kindDetail.empty()) out += "  (" + utf8(title.kindDetail) + ")";
    out.push_back('\n');
    if (!title.header1.empty()) out += "header1: " + utf8(title.header1) + "\n";
    if (!title.header2.empty()) out += "header2: " + utf8(title.header2) + "\n";
    if (!title.text.empty()) {
        out += "--- text\n" + utf8(title.text);
        if (out.back() != '\n') out.push_back('\n');
    }
    if (title.HasTree()) {
        out += "--- tree\n";
        PrintTreeText(out, title.Root(), codePage);
    }
    out.push_back('\n');
    Print(out);
}

TitleRecord* FindNamedTitle(ScriptRecord& file, const std::string& name, std::uint32_t codePage) {
    if (TitleRecord* title = file.FindTitle(name)) return title;
    return file.FindTitle(Utf8ToAnsi(name, codePage));  // a UTF-8 command line naming a code-page title
}

}  // namespace

int RunCommand(const Args& args) {
    RunOptions options;
    switch (Parse(args, options)) {
        case ParseOutcome::Help: std::fputs(kRunUsage, stdout); return 0;
        case ParseOutcome::Bad: return 2;
        case ParseOutcome::Run: break;
    }
    std::error_code ec;
    const fs::path script = fs::absolute(fs::path(options.script), ec);
    if (ec || !fs::is_regular_file(script, ec)) return Fail("cannot open script '" + options.script + "'");

    platform::MachineChoice choice = platform::OpenMachine(options.machine);
    if (!choice.machine) return Fail("cannot load the machine: " + choice.error);
    platform::Machine& machine = *choice.machine;
    const std::uint32_t codePage = machine.AnsiCodePage();

    AppContext context(machine, DetectOs(machine), script.parent_path().string());
    std::unique_ptr<ScriptRecord> file =
        ScriptCatalog(context, StandardCommandTable()).LoadScript(script.string(), script.stem().string());
    if (!file) return Fail("cannot read script '" + options.script + "'");
    if (file->titles.empty()) return Fail("the script '" + options.script + "' has no titles");

    std::vector<TitleRecord*> selected;
    if (options.titles.empty()) {
        for (auto& title : file->titles) selected.push_back(title.get());
    }
    for (const std::string& name : options.titles) {
        TitleRecord* title = FindNamedTitle(*file, name, codePage);
        if (!title) return Fail("the script has no title '" + name + "'");
        selected.push_back(title);
    }

    std::string json = "{\"titles\":[";
    bool first = true;
    for (TitleRecord* title : selected) {
        title->runPending = 1;  // a title named twice runs twice, as a refresh would
        ScriptEngine(context, StandardCommandTable()).RunTitle(*title);
        if (!options.json) {
            PrintTitleText(*title, codePage);
            continue;
        }
        if (!first) json.push_back(',');
        first = false;
        WriteTitleJson(json, *title, codePage);
    }
    if (options.json) Print(json + "]}\n");
    return std::fflush(stdout) == 0 ? 0 : Fail("cannot write the output");
}

}  // namespace kavlo::cli
