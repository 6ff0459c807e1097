#include "probes/registration.h"
#include "probes/registry/registry_commands.h"

namespace kavlo {

void RegisterRegistryProbes(CommandTable& table) {
    table.Bind("ReadRValStr:", HandlerN{&ReadRValStrCommand});
    table.Bind("RVALPRESENT:", HandlerN{&RValPresentCommand});
    table.Bind("RKEYPRESENT:", HandlerN{&RKeyPresentCommand});
    table.Bind("RVAL:", HandlerF{&RValCommand});
    table.Bind("RKEYEXIT:", HandlerF{&RKeyExitCommand});
    table.Bind("CENUMRVAL:", HandlerF{&CEnumRValCommand});
    table.Bind("TERegList:", HandlerR{&TERegListCommand});
}

}  // namespace kavlo
