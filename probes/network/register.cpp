#include "probes/network/network_commands.h"
#include "probes/registration.h"

namespace kavlo {

void RegisterNetworkProbes(CommandTable& table) {
    table.BindAll({
        {"CNetstat:", &CNetstatCommand},
    });
}

}  // namespace kavlo
