#include "probes/install/install_path_command.h"
#include "probes/registration.h"

namespace kavlo {

void RegisterInstallProbes(CommandTable& table) { table.BindAll({{"InstallPath:", &InstallPathCommand}}); }

}  // namespace kavlo
