// "FileInfo:", "FileSearch:", "CFileSearch:", "CDirSearch:" and "CFileSearchPath:".

#include <string>

#include "engine/path_tokens.h"
#include "probes/files/command_args.h"
#include "probes/files/file_info.h"
#include "probes/files/file_commands.h"
#include "probes/files/file_paths.h"

namespace kavlo {

namespace {

// GetEnvironmentVariable's buffer for the search path holds 1,024 characters.
constexpr std::size_t kSearchPathChars = 1023;

enum class Wanted { Files, Directories };

struct RowForm {
    std::string_view prefix;
    std::string_view separator;
};
constexpr RowForm kTabRows{"", "\t"};
constexpr RowForm kListRows{"0,", ","};

/// Path (or pattern) and key list of "path,keys"; without a comma all of it is the path.
std::pair<std::string_view, std::string_view> PathAndKeys(std::string_view argument) {
    if (auto parts = SplitAtComma(argument)) return *parts;
    return {argument, {}};
}

void AppendMatchRows(AppContext& context, std::string_view pattern, Wanted wanted, std::string_view keys, RowForm form,
                     TitleRecord& title) {
    auto matches = context.machine.FindFiles(pattern);
    if (!matches.ok()) return;
    FileInfo record;
    std::string row;
    for (const platform::FindEntry& entry : *matches) {
        if (entry.IsDirectory() != (wanted == Wanted::Directories)) continue;
        record.Clear();
        record.Gather(context, entry.fullPath, PathMode::Unchanged);
        row.assign(form.prefix);
        record.BuildRow(keys, form.separator, row);
        title.AppendText(row);
    }
}

}  // namespace

void FileInfoCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    if (!title) return;
    const auto [rawPath, keys] = PathAndKeys(call.argument);
    const std::string path = ExpandPathToken(engine.context(), rawPath);
    FileInfo record;
    record.Gather(engine.context(), path, PathMode::Unchanged);
    std::string row;
    record.BuildRow(keys, kTabRows.separator, row);
    title->AppendText(row);
}

void FileSearchCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    if (!title) return;
    const auto [rawPattern, keys] = PathAndKeys(call.argument);
    const std::string pattern = ExpandPathToken(engine.context(), rawPattern);
    AppendMatchRows(engine.context(), pattern, Wanted::Files, keys, kTabRows, *title);
}

void CFileSearchCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    if (!title) return;
    const std::string pattern = ExpandPathToken(engine.context(), call.argument);
    AppendMatchRows(engine.context(), pattern, Wanted::Files, title->header1, kListRows, *title);
}

void CDirSearchCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    if (!title) return;
    const std::string pattern = ExpandPathToken(engine.context(), call.argument);
    AppendMatchRows(engine.context(), pattern, Wanted::Directories, title->header1, kListRows, *title);
}

void CFileSearchPathCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    if (!title) return;
    const std::string_view fileName = call.argument;
    std::string searchPath = engine.machine().Environment("path").value_or(std::string());
    if (searchPath.size() > kSearchPathChars) searchPath.resize(kSearchPathChars);

    std::string_view remaining = searchPath;
    while (!remaining.empty()) {
        const auto semicolon = remaining.find(';');
        const std::string_view directory = remaining.substr(0, semicolon);
        remaining = semicolon == std::string_view::npos ? std::string_view() : remaining.substr(semicolon + 1);
        // An empty entry (";;") names no directory; searching "\name" would look
        // in the root of the current drive instead.
        if (directory.empty()) continue;
        AppendMatchRows(engine.context(), std::string(directory) + "\\" + std::string(fileName), Wanted::Files,
                        title->header1, kListRows, *title);
    }
}

}  // namespace kavlo
