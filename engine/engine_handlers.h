#pragma once
// Handlers of the engine's own commands, bound by RegisterEngineCommands.

#include <string_view>

#include "engine/script_engine.h"

namespace kavlo {

/// Binds the engine's own commands: variables, text, tree, "IF" and "[OS:".
void RegisterEngineCommands(CommandTable& table);

// variables
void SetVarCommand(CommandCall& call);

// text output
void TextCommand(CommandCall& call);
void TextLineCommand(CommandCall& call);
void TextFileExpandCommand(CommandCall& call);

// result tree
void TRootCommand(CommandCall& call);
void TAddChildCommand(CommandCall& call);
void TBackCommand(CommandCall& call);
void TAddTextCommand(CommandCall& call);

// conditional block
void IfCommand(CommandCall& call);

}  // namespace kavlo
