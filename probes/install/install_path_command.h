#pragma once
// "InstallPath:label,path spec": one file row for an installed component, its
// path given directly, through environment variables, a registry value or a
// folder token.

#include "engine/command_table.h"

namespace kavlo {

void InstallPathCommand(CommandCall& call);

}  // namespace kavlo
