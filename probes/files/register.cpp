#include "probes/registration.h"

namespace kavlo {

void RegisterFileProbes(CommandTable&) {}

}  // namespace kavlo
