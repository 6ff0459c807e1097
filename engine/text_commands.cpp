// "Text:", "TextLine:" and "TextFileExpand:": prose for titles of a "text" kind.
#include "engine/engine_handlers.h"
#include "engine/path_tokens.h"
#include "engine/text_util.h"

namespace kavlo {

namespace {

bool TakesText(const TitleRecord* title) { return title && title->TakesText(); }
}  // namespace

void TextCommand(CommandCall& call) {
    TitleRecord* title = call.title;
    if (TakesText(title)) title->AppendText(call.argument);
}

void TextLineCommand(CommandCall& call) {
    TitleRecord* title = call.title;
    if (!TakesText(title)) return;
    std::string text(call.argument);
    text.push_back('\n');
    title->AppendText(FormatPercent(text));
}

void TextFileExpandCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    if (TakesText(title)) title->AppendText(ExpandPathToken(engine.context(), call.argument));
}

}  // namespace kavlo
