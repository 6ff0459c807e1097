// "TRoot:", "TAddChild:", "TBack:", "TAddText:": build the title's result tree
// below the current node (the top of the root's node stack, or the root).
#include "engine/engine_handlers.h"

namespace kavlo {

void TRootCommand(rd_DBGData&, std::string_view name, std::string_view line, data_DBGTitle* title) {
    if (!title) return;
    if (title->KindContains("treexp")) title->Root().SetExtra(std::string(CommandArgument(name, line)));
    title->Root().ClearStack();
}

void TAddChildCommand(rd_DBGData&, std::string_view name, std::string_view line, data_DBGTitle* title) {
    if (!title) return;
    data_TView& root = title->Root();
    data_TView& child = root.Current().AddChild(CommandArgument(name, line));
    root.Push(&child);
}

void TBackCommand(rd_DBGData&, std::string_view, std::string_view, data_DBGTitle* title) {
    if (title) title->Root().Pop();
}

void TAddTextCommand(rd_DBGData&, std::string_view name, std::string_view line, data_DBGTitle* title) {
    if (title) title->Root().Current().AddChild(CommandArgument(name, line));
}

}  // namespace kavlo
