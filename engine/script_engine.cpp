#include "engine/script_engine.h"

#include "engine/text_util.h"

namespace kavlo {

namespace {

// Group A and A2 rows are compared with the line's command word (up to its first
// ":"), group B rows with the start of the trimmed line.
const CommandRow* FirstMatch(const CommandTable& table, CommandGroup group, std::string_view text) {
    if (text.empty()) return nullptr;
    for (std::uint8_t index : table.Candidates(group, static_cast<unsigned char>(text[0]))) {
        const CommandRow& row = table.rows()[index];
        if (StartsWith(text, row.name)) return &row;
    }
    return nullptr;
}

}  // namespace

std::string_view CommandArgument(std::string_view name, std::string_view line) {
    const auto pos = line.find(name);
    return pos == std::string_view::npos ? std::string_view() : line.substr(pos + name.size());
}

void ScriptEngine::RunTitle(TitleRecord& title) {
    if (title.runPending != 1) return;
    // A listed title without a body has nothing to run: it stays empty.
    std::optional<ScriptFile> file;
    if (title.hasBody) file = ScriptFile::Open(title.ScriptPath());
    if (!file) {
        depth_ = 1;
        title.PrepareRun();
        title.runPending = 0;
        return;
    }
    RunTitle(title, *file);
}

void ScriptEngine::RunTitle(TitleRecord& title, ScriptFile& file) {
    if (title.runPending != 1) return;
    depth_ = 1;
    title.PrepareRun();
    if (!title.hasBody) {
        title.runPending = 0;
        return;
    }
    file.Seek(title.startOffset);
    for (;;) {
        const std::optional<std::string_view> line = file.ReadLine();
        if (!line) break;
        const bool opens = Contains(*line, '{');
        const bool closes = Contains(*line, '}');
        if (opens) ++depth_;
        if (!closes) Dispatch(file, *line, &title);
        if (closes) --depth_;
        if (depth_ <= 0) break;
    }
    title.runPending = 0;
}

DispatchedRows MatchLine(const CommandTable& table, std::string_view trimmed, bool ntFamily) {
    DispatchedRows rows{};
    const auto colon = trimmed.find(':');
    if (colon != std::string_view::npos) {
        const std::string_view command = trimmed.substr(0, colon + 1);
        rows[0] = FirstMatch(table, CommandGroup::A, command);
        if (ntFamily) rows[1] = FirstMatch(table, CommandGroup::A2, command);
    }
    rows[2] = FirstMatch(table, CommandGroup::B, trimmed);
    return rows;
}

void ScriptEngine::Dispatch(ScriptFile& file, std::string_view line, TitleRecord* title) {
    const std::string_view trimmed = TrimLeading(line);
    if (StartsWith(trimmed, "//")) return;
    for (const CommandRow* row : MatchLine(table_, trimmed, context_.IsNtFamily()))
        if (row) Call(*row, file, line, title);
}

void ScriptEngine::Call(const CommandRow& row, ScriptFile& file, std::string_view line, TitleRecord* title) {
    if (row.handler == nullptr) return;  // recognised, nothing to run
    CommandCall call{*this, row.name, line,    CommandArgument(row.name, line), AfterFirst(TrimLeading(line), ':'),
                     file,  title,    row.flag};
    row.handler(call);
}

void ScriptEngine::SkipBlock(ScriptFile& file, int adjustDepth) {
    int count = 1;
    while (count > 0) {
        const std::optional<std::string_view> line = file.ReadLine();
        if (!line) break;
        if (Contains(*line, '{')) ++count;
        if (Contains(*line, '}')) --count;
    }
    if (adjustDepth == 1) --depth_;
}

void ScriptEngine::OsSection(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    ScriptFile& file = call.file;
    const std::string_view line = call.line;
    if (!Contains(line, engine.context().os.shortName)) engine.SkipBlock(file, 1);
}

}  // namespace kavlo
