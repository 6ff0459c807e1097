// "TRoot:", "TAddChild:", "TBack:", "TAddText:": build the title's result tree
// below the current node (the top of the root's node stack, or the root).
#include "engine/engine_handlers.h"

namespace kavlo {

void TRootCommand(CommandCall& call) {
    TitleRecord* title = call.title;
    if (!title) return;
    if (title->IsExpandableTree()) title->Root().SetExtra(std::string(call.argument));
    title->Root().ClearStack();
}

void TAddChildCommand(CommandCall& call) {
    TitleRecord* title = call.title;
    if (!title) return;
    ResultNode& root = title->Root();
    ResultNode& child = root.Current().AddChild(call.argument);
    root.Push(&child);
}

void TBackCommand(CommandCall& call) {
    TitleRecord* title = call.title;
    if (title) title->Root().Pop();
}

void TAddTextCommand(CommandCall& call) {
    TitleRecord* title = call.title;
    if (title) title->Root().Current().AddChild(call.argument);
}

}  // namespace kavlo
