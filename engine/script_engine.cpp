#include "engine/script_engine.h"

#include <type_traits>

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

// Call() switches on the alternative's index; keep it in step with Handler.
static_assert(std::is_same_v<std::variant_alternative_t<0, Handler>, NoHandler>);
static_assert(std::is_same_v<std::variant_alternative_t<1, Handler>, HandlerN>);
static_assert(std::is_same_v<std::variant_alternative_t<2, Handler>, HandlerF>);
static_assert(std::is_same_v<std::variant_alternative_t<3, Handler>, HandlerR>);
static_assert(std::is_same_v<std::variant_alternative_t<4, Handler>, HandlerT>);
static_assert(std::is_same_v<std::variant_alternative_t<5, Handler>, HandlerB>);
static_assert(std::is_same_v<std::variant_alternative_t<6, Handler>, HandlerS>);
static_assert(std::is_same_v<std::variant_alternative_t<7, Handler>, HandlerO>);

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

void ScriptEngine::Dispatch(ScriptFile& file, std::string_view line, TitleRecord* title) {
    const std::string_view trimmed = TrimLeading(line);
    if (StartsWith(trimmed, "//")) return;
    const auto colon = trimmed.find(':');
    if (colon != std::string_view::npos) {
        const std::string_view command = trimmed.substr(0, colon + 1);
        if (const CommandRow* row = FirstMatch(table_, CommandGroup::A, command))
            Call(*row, file, line, trimmed, title);
        if (context_.IsNtFamily()) {
            if (const CommandRow* row = FirstMatch(table_, CommandGroup::A2, command))
                Call(*row, file, line, trimmed, title);
        }
    }
    if (const CommandRow* row = FirstMatch(table_, CommandGroup::B, trimmed)) Call(*row, file, line, trimmed, title);
}

void ScriptEngine::Call(const CommandRow& row, ScriptFile& file, std::string_view line, std::string_view trimmed,
                      TitleRecord* title) {
    const Handler& handler = row.handler;
    switch (handler.index()) {
        case 0: return;  // recognised, nothing to run
        case 1: return std::get<HandlerN>(handler)(*this, row.name, line, title);
        case 2: return std::get<HandlerF>(handler)(*this, row.name, file, line, title);
        case 3: return std::get<HandlerR>(handler)(*this, AfterFirst(trimmed, ':'), title);
        case 4: return std::get<HandlerT>(handler)(*this, title);
        case 5: return std::get<HandlerB>(handler)(*this, title, row.form == Form::B1 ? 1 : 0);
        case 6: return std::get<HandlerS>(handler)(*this, file, title);
        case 7: return std::get<HandlerO>(handler)(*this, file, line);
        default: return;
    }
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

void ScriptEngine::OsSection(ScriptEngine& engine, ScriptFile& file, std::string_view line) {
    if (!Contains(line, engine.context().os.shortName)) engine.SkipBlock(file, 1);
}

}  // namespace kavlo
