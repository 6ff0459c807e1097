// "Text:", "TextLine:" and "TextFileExpand:": prose for titles of a "text" kind.
#include "engine/engine_handlers.h"
#include "engine/path_tokens.h"
#include "engine/text_util.h"

namespace kavlo {
namespace {
bool TakesText(const TitleRecord* title) { return title && title->KindContains("text"); }
}  // namespace

void TextCommand(ScriptEngine&, std::string_view name, ScriptFile&, std::string_view line, TitleRecord* title) {
    if (TakesText(title)) title->AppendText(CommandArgument(name, line));
}

void TextLineCommand(ScriptEngine&, std::string_view name, ScriptFile&, std::string_view line, TitleRecord* title) {
    if (!TakesText(title)) return;
    std::string text(CommandArgument(name, line));
    text.push_back('\n');
    title->AppendText(FormatPercent(text));
}

void TextFileExpandCommand(ScriptEngine& engine, std::string_view name, ScriptFile&, std::string_view line,
                           TitleRecord* title) {
    if (TakesText(title)) title->AppendText(ExpandPathToken(engine.context(), CommandArgument(name, line)));
}

}  // namespace kavlo
