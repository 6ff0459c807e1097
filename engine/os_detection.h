#pragma once
// Start-up's view of the operating system: short name (for "[OS:" sections),
// long name (for the information page) and OS code.

#include "engine/app_context.h"
#include "platform/machine.h"

namespace kavlo {

/// Detects the operating system from the machine's version record and registry.
OsInfo DetectOs(platform::Machine& machine);

}  // namespace kavlo
