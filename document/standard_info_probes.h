#pragma once
// The probes that the information page of every report runs, shared by the
// program's window and the command line.

#include "document/info_page.h"

namespace kavlo::report {

/// The system summary (the processor line) and the log-on information (user,
/// SID, domain, groups), which also records the logon record before any title runs.
InfoPageProbes StandardInfoPageProbes();

}  // namespace kavlo::report
