#include "probes/registration.h"
#include "probes/remote_control/remote_control_commands.h"

namespace kavlo {

void RegisterRemoteControlProbes(CommandTable& table) {
    table.BindAll({
        {"MIRROLET_NET:", &MirroletNetCommand},
        {"MIRROLET_CHF:", &MirroletChfCommand},
    });
}

}  // namespace kavlo
