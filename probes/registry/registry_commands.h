#pragma once
// Handlers of the registry commands, bound by RegisterRegistryProbes.

#include <string_view>

#include "engine/script_engine.h"

namespace kavlo {

void ReadRValStrCommand(CommandCall& call);
void RValPresentCommand(CommandCall& call);
void RKeyPresentCommand(CommandCall& call);
void RValCommand(CommandCall& call);
void RKeyExitCommand(CommandCall& call);
void CEnumRValCommand(CommandCall& call);
void TERegListCommand(CommandCall& call);

}  // namespace kavlo
