#include "probes/registration.h"
#include "probes/system/system_commands.h"

namespace kavlo {

void RegisterSystemProbes(CommandTable& table) {
    table.BindAll({
        {"CWinServerType:", &WinServerTypeCommand},
        {"TEWinServerType:", &WinServerTypeCommand},
        {"CWinShares:", &CWinSharesCommand},
        {"CEvtLog:", &CEvtLogCommand},
        {"TDefaultCryptoProviders:", &TDefaultCryptoProvidersCommand},
    });
}

}  // namespace kavlo
