#pragma once
// Each probe area binds its handlers to the rows of the command table;
// StandardCommandTable() is the table with the engine's commands and every area bound.

#include "engine/command_table.h"

namespace kavlo {

void RegisterRegistryProbes(CommandTable& table);
void RegisterFileProbes(CommandTable& table);
void RegisterCheckProbes(CommandTable& table);  ///< check items and value maps
void RegisterSecurityProbes(CommandTable& table);
void RegisterSystemProbes(CommandTable& table);  ///< server role, shares, event logs, crypto providers
void RegisterNetworkProbes(CommandTable& table);
void RegisterRemoteControlProbes(CommandTable& table);  ///< the remote-control product
void RegisterMemoryProbes(CommandTable& table);         ///< memory, swap file and drives
void RegisterInstallProbes(CommandTable& table);        ///< installed components
void RegisterAntivirusProbes(CommandTable& table);      ///< the antivirus product
void RegisterUpdateProbes(CommandTable& table);         ///< the update product
void RegisterDisplayProbes(CommandTable& table);        ///< the display adapter
void RegisterHardwareProbes(CommandTable& table);       ///< the PCI bus and the modems
void RegisterServiceProbes(CommandTable& table);        ///< services, processes, start-up programs, counters

/// The table with the engine's own commands and every probe area bound.
const CommandTable& StandardCommandTable();

}  // namespace kavlo
