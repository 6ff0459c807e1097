#pragma once
// The service and process probes: a service's account, status row, desktop
// interaction, a test start and the rights of the user's groups; the running
// programs, the start-up programs and process performance counters.

#include "engine/command_table.h"

namespace kavlo {

void ServiceConfgCommand(CommandCall& call);
void CServiceStatusCommand(CommandCall& call);
void ServiceInteractsCommand(CommandCall& call);
void MyServiceRightsCommand(CommandCall& call);
void StartServiceCommand(CommandCall& call);
void RunningAppsCommand(CommandCall& call);
void StartUpAppsCommand(CommandCall& call);
void CPerfMonCommand(CommandCall& call);
void CPerfMonExeCommand(CommandCall& call);

}  // namespace kavlo
