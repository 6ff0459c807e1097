#include "probes/registration.h"

namespace kavlo {

void RegisterEngineCommands(CommandTable&) {}

}  // namespace kavlo
