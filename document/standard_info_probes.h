#pragma once
// The probes that the information page of every report runs, shared by the
// program's window and the command line.

#include "document/info_page.h"

namespace kavlo::report {

/// The system summary (the processor line) and, once it exists, the log-on information.
InfoPageProbes StandardInfoPageProbes();

}  // namespace kavlo::report
