// kavlo lint: checks scripts for the mistakes that the engine runs silently.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/title_json.h"
#include "engine/script_lint.h"
#include "probes/registration.h"

namespace kavlo::cli {
namespace {

// Scripts are ANSI text; the problems quote them.
constexpr std::uint32_t kScriptCodePage = 1252;

constexpr const char* kLintUsage =
    "usage: kavlo lint SCRIPT.dbg|FOLDER... [--format text|json]\n"
    "  checks scripts (and a folder's DBGList.cfg) line by line; exit status 1 when\n"
    "  any problem is found, 2 when a file cannot be read\n";

// Lines without their "\r\n" or "\n", as the engine reads them.
bool ReadLines(const std::filesystem::path& path, std::vector<std::string>& lines) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return false;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::size_t stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        lines.emplace_back(bytes, start, stop - start);
        start = end + 1;
    }
    return true;
}

bool IsScriptName(const std::filesystem::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    return extension == ".dbg";
}

// The files a path names: a script itself, or a folder's scripts (sorted) and its DBGList.cfg.
std::vector<std::filesystem::path> FilesOf(const std::filesystem::path& path, std::error_code& error) {
    if (!std::filesystem::is_directory(path, error)) return {path};
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(path, error))
        if (entry.is_regular_file() && (IsScriptName(entry.path()) || entry.path().filename() == "DBGList.cfg"))
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::string ProblemsAsJson(const std::vector<LintProblem>& problems, std::size_t filesChecked) {
    std::string out = "{\"files\":" + std::to_string(filesChecked) + ",\"problems\":[";
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (i) out += ',';
        out += "{\"file\":";
        AppendJsonString(out, problems[i].file);
        out += ",\"line\":" + std::to_string(problems[i].line) + ",\"problem\":";
        AppendJsonText(out, problems[i].what, kScriptCodePage);
        out += '}';
    }
    return out + "]}\n";
}

}  // namespace

int LintCommand(const Args& args) {
    std::vector<std::string> paths;
    bool json = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--help" || args[i] == "-h") {
            std::fputs(kLintUsage, stdout);
            return 0;
        }
        if (args[i] == "--format" && i + 1 < args.size() && (args[i + 1] == "json" || args[i + 1] == "text")) {
            json = args[++i] == "json";
        } else if (!args[i].empty() && args[i][0] == '-') {
            std::fprintf(stderr, "kavlo lint: unknown option '%s'\n%s", args[i].c_str(), kLintUsage);
            return 2;
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.empty()) {
        std::fputs(kLintUsage, stderr);
        return 2;
    }
    std::vector<LintProblem> problems;
    std::size_t checked = 0;
    for (const std::string& named : paths) {
        std::error_code error;
        const std::vector<std::filesystem::path> files = FilesOf(named, error);
        if (error || files.empty()) {
            std::fprintf(stderr, "kavlo lint: %s: %s\n", named.c_str(),
                         error ? error.message().c_str() : "no scripts in this folder");
            return 2;
        }
        for (const std::filesystem::path& file : files) {
            std::vector<std::string> lines;
            if (!ReadLines(file, lines)) {
                std::fprintf(stderr, "kavlo lint: %s: cannot be read\n", file.string().c_str());
                return 2;
            }
            const auto found = file.filename() == "DBGList.cfg"
                                   ? LintConfiguration(file.string(), lines, StandardCommandTable())
                                   : LintScript(file.string(), lines, StandardCommandTable());
            const std::size_t first = problems.size();
            problems.insert(problems.end(), found.begin(), found.end());
            std::stable_sort(problems.begin() + static_cast<std::ptrdiff_t>(first), problems.end(),
                             [](const LintProblem& a, const LintProblem& b) { return a.line < b.line; });
            ++checked;
        }
    }
    if (json) {
        std::fputs(ProblemsAsJson(problems, checked).c_str(), stdout);
    } else {
        std::fputs(Describe(problems).c_str(), stdout);
        std::fprintf(stderr, "%zu file%s checked, %zu problem%s\n", checked, checked == 1 ? "" : "s", problems.size(),
                     problems.size() == 1 ? "" : "s");
    }
    return problems.empty() ? 0 : 1;
}

}  // namespace kavlo::cli
