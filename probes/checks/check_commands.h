#pragma once
// Check items and value maps: nodes whose state or text follows a registry value
// or a byte of a file.

#include "engine/command_table.h"

namespace kavlo {

void TIRCheckCommand(CommandCall& call);
void TIFCheckCommand(CommandCall& call);
void TIRTextValueCommand(CommandCall& call);
void TIFTextValueCommand(CommandCall& call);

}  // namespace kavlo
