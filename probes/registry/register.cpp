#include "probes/registration.h"

namespace kavlo {

void RegisterRegistryProbes(CommandTable&) {}

}  // namespace kavlo
