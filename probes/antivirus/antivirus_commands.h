#pragma once
// The antivirus product: its virus and event logs as list rows ("COstrell7Log:")
// and its configuration, address cache and clients as tree entries
// ("TCOstrell7Main:", "DspAddressCache:", "DspClient:").

#include "engine/command_table.h"

namespace kavlo {

void COstrell7LogCommand(CommandCall& call);
void TCOstrell7MainCommand(CommandCall& call);
void DspAddressCacheCommand(CommandCall& call);
void DspClientCommand(CommandCall& call);

}  // namespace kavlo
