#include "probes/registration.h"
#include "probes/security/security_commands.h"

namespace kavlo {

void RegisterSecurityProbes(CommandTable& table) {
    table.BindAll({
        {"LogonInfo:", &LogonInfoCommand},
        {"TMyPrivilage:", &TMyPrivilageCommand},
        {"ListAllFileRights:", &ListAllFileRightsCommand},
        {"TDirRightsList:", &TDirRightsListCommand},
        {"TFilRightsList:", &TFilRightsListCommand},
        {"TDrvRightsList:", &TDrvRightsListCommand},
        {"TRegKeyRightsList:", &TRegKeyRightsListCommand},
        {"TERKeyPermList:", &TERKeyPermListCommand},
        {"TERKeyPerm:", &TERKeyPermCommand},
        {"TEDcomCnfg:", &TEDcomCnfgCommand},
        {"TEAppDcomCnfg:", &TEAppDcomCnfgCommand},
    });
}

}  // namespace kavlo
