#pragma once
// The security probes: logon and privileges, access-rights listings of files,
// drives and registry keys, DCOM permissions.

#include "engine/command_table.h"

namespace kavlo {

class AppContext;

void LogonInfoCommand(CommandCall& call);
void TMyPrivilageCommand(CommandCall& call);

void ListAllFileRightsCommand(CommandCall& call);
void TDirRightsListCommand(CommandCall& call);
void TFilRightsListCommand(CommandCall& call);
void TDrvRightsListCommand(CommandCall& call);

void TRegKeyRightsListCommand(CommandCall& call);
void TERKeyPermListCommand(CommandCall& call);
void TERKeyPermCommand(CommandCall& call);

void TEDcomCnfgCommand(CommandCall& call);
void TEAppDcomCnfgCommand(CommandCall& call);

}  // namespace kavlo
