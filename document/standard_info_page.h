#pragma once
// The probes of the information page as the program runs them, shared by the
// window and by `kavlo gather`.

#include "document/info_page.h"

namespace kavlo::report {

/// The page's probes: the log-on information (user, SID, domain, groups),
/// which also records the logon record before any title runs.
InfoPageProbes StandardInfoPageProbes();

}  // namespace kavlo::report
