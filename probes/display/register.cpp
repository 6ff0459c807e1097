#include "probes/display/display_adapter.h"
#include "probes/registration.h"

namespace kavlo {

void RegisterDisplayProbes(CommandTable& table) { table.BindAll({{"[SYSTEM VIDEO]", &SystemVideoCommand}}); }

}  // namespace kavlo
