#include "engine/engine_handlers.h"

namespace kavlo {

void RegisterEngineCommands(CommandTable& table) {
    table.BindAll({
        {"[OS:", &ScriptEngine::OsSection},
        {"SetVar:", &SetVarCommand},
        {"Text:", &TextCommand},
        {"TextLine:", &TextLineCommand},
        {"TextFileExpand:", &TextFileExpandCommand},
        {"TRoot:", &TRootCommand},
        {"TAddChild:", &TAddChildCommand},
        {"TBack:", &TBackCommand},
        {"TAddText:", &TAddTextCommand},
        {"IF", &IfCommand},
    });
}

}  // namespace kavlo
