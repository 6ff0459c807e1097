#pragma once
// Handlers of the system probes: server role and shares, event logs,
// cryptographic providers.

#include "engine/command_table.h"

namespace kavlo {

/// "CWinServerType:" (text lines) and "TEWinServerType:" (tree items); the row's flag picks.
void WinServerTypeCommand(CommandCall& call);
/// "CWinShares:": one list row a share.
void CWinSharesCommand(CommandCall& call);
/// "CEvtLog:LOG,KEY,KEY...": the newest records of a log as list rows, long runs folded.
void CEvtLogCommand(CommandCall& call);
/// "TDefaultCryptoProviders:": the default provider of each type, as tree items.
void TDefaultCryptoProvidersCommand(CommandCall& call);

}  // namespace kavlo
