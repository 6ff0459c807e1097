#pragma once
// Each probe area binds its handlers to the rows of the command table.

#include "engine/command_table.h"

namespace kavlo {

void RegisterEngineCommands(CommandTable& table);  ///< variables, tree, text, "IF", "[OS:"
void RegisterRegistryProbes(CommandTable& table);
void RegisterFileProbes(CommandTable& table);

}  // namespace kavlo
