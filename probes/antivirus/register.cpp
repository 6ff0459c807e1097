#include "probes/antivirus/antivirus_commands.h"
#include "probes/registration.h"

namespace kavlo {

void RegisterAntivirusProbes(CommandTable& table) {
    table.BindAll({
        {"COstrell7Log:", &COstrell7LogCommand},
        {"TCOstrell7Main:", &TCOstrell7MainCommand},
        {"DspAddressCache:", &DspAddressCacheCommand},
        {"DspClient:", &DspClientCommand},
    });
}

}  // namespace kavlo
