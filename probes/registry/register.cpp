#include "probes/registration.h"
#include "probes/registry/registry_commands.h"

namespace kavlo {

void RegisterRegistryProbes(CommandTable& table) {
    table.BindAll({
        {"ReadRValStr:", &ReadRValStrCommand},
        {"RVALPRESENT:", &RValPresentCommand},
        {"RKEYPRESENT:", &RKeyPresentCommand},
        {"RVAL:", &RValCommand},
        {"RKEYEXIT:", &RKeyExitCommand},
        {"CENUMRVAL:", &CEnumRValCommand},
        {"TERegList:", &TERegListCommand},
    });
}

}  // namespace kavlo
