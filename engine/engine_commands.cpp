#include "engine/engine_handlers.h"
#include "probes/registration.h"

namespace kavlo {

void RegisterEngineCommands(CommandTable& table) {
    table.Bind("[OS:", HandlerO{&ScriptEngine::OsSection});
    table.Bind("SetVar:", HandlerN{&SetVarCommand});
    table.Bind("Text:", HandlerF{&TextCommand});
    table.Bind("TextLine:", HandlerF{&TextLineCommand});
    table.Bind("TextFileExpand:", HandlerF{&TextFileExpandCommand});
    table.Bind("TRoot:", HandlerN{&TRootCommand});
    table.Bind("TAddChild:", HandlerN{&TAddChildCommand});
    table.Bind("TBack:", HandlerN{&TBackCommand});
    table.Bind("TAddText:", HandlerN{&TAddTextCommand});
    table.Bind("TIRCheck:", HandlerN{&TIRCheckCommand});
    table.Bind("TIFCheck:", HandlerN{&TIFCheckCommand});
    table.Bind("TIRTextValue:", HandlerF{&TIRTextValueCommand});
    table.Bind("TIFTextValue:", HandlerF{&TIFTextValueCommand});
    table.Bind("IF", HandlerF{&IfCommand});
    // "TCOstrell7Main:" stays recognised and silent until the antivirus report fills it.
}

}  // namespace kavlo
