#include "probes/registration.h"
#include "probes/update/update_settings_command.h"

namespace kavlo {

void RegisterUpdateProbes(CommandTable& table) {
    table.BindAll({{"TETFernwaySettingsLog:", &TETFernwaySettingsLogCommand}});
}

}  // namespace kavlo
