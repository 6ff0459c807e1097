#include "engine/engine_handlers.h"
#include "probes/registration.h"

namespace kavlo {

const CommandTable& StandardCommandTable() {
    static const CommandTable table = [] {
        CommandTable t;
        RegisterEngineCommands(t);
        RegisterRegistryProbes(t);
        RegisterFileProbes(t);
        RegisterCheckProbes(t);
        RegisterSecurityProbes(t);
        RegisterSystemProbes(t);
        RegisterNetworkProbes(t);
        RegisterRemoteControlProbes(t);
        RegisterMemoryProbes(t);
        RegisterInstallProbes(t);
        RegisterAntivirusProbes(t);
        RegisterUpdateProbes(t);
        RegisterDisplayProbes(t);
        RegisterHardwareProbes(t);
        RegisterServiceProbes(t);
        return t;
    }();
    return table;
}

}  // namespace kavlo
