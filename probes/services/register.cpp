#include "probes/registration.h"
#include "probes/services/service_commands.h"

namespace kavlo {

void RegisterServiceProbes(CommandTable& table) {
    table.BindAll({
        {"ServiceConfg:", &ServiceConfgCommand},
        {"CServiceStatus:", &CServiceStatusCommand},
        {"ServiceInteracts:", &ServiceInteractsCommand},
        {"MyServiceRights:", &MyServiceRightsCommand},
        {"StartService:", &StartServiceCommand},
        {"RunningApps:", &RunningAppsCommand},
        {"StartUpApps:", &StartUpAppsCommand},
        {"CPerfMon:", &CPerfMonCommand},
        {"CPerfMonExe:", &CPerfMonExeCommand},
    });
}

}  // namespace kavlo
