// "TRoot:", "TAddChild:", "TBack:", "TAddText:": build the title's result tree
// below the current node (the top of the root's node stack, or the root).
#include "engine/engine_handlers.h"

namespace kavlo {

void TRootCommand(ScriptEngine&, std::string_view name, std::string_view line, TitleRecord* title) {
    if (!title) return;
    if (title->KindContains("treexp")) title->Root().SetExtra(std::string(CommandArgument(name, line)));
    title->Root().ClearStack();
}

void TAddChildCommand(ScriptEngine&, std::string_view name, std::string_view line, TitleRecord* title) {
    if (!title) return;
    ResultNode& root = title->Root();
    ResultNode& child = root.Current().AddChild(CommandArgument(name, line));
    root.Push(&child);
}

void TBackCommand(ScriptEngine&, std::string_view, std::string_view, TitleRecord* title) {
    if (title) title->Root().Pop();
}

void TAddTextCommand(ScriptEngine&, std::string_view name, std::string_view line, TitleRecord* title) {
    if (title) title->Root().Current().AddChild(CommandArgument(name, line));
}

}  // namespace kavlo
