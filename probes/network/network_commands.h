#pragma once
// The network commands.

#include "engine/command_table.h"

namespace kavlo {

/// "CNetstat:": one list row per TCP connection and UDP listener.
void CNetstatCommand(CommandCall& call);

}  // namespace kavlo
