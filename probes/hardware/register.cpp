#include "probes/hardware/hardware_commands.h"
#include "probes/registration.h"

namespace kavlo {

void RegisterHardwareProbes(CommandTable& table) {
    table.BindAll(
        {{"PCI_INFO:", &PciInfoCommand}, {"PCI_DISP:", &PciDisplayCommand}, {"MODEM_INFO:", &ModemInfoCommand}});
}

}  // namespace kavlo
