#pragma once
// The simulated machine's stand-in for the remote-control product's automation
// server: present when its ProgID is registered in the image; it lists the
// ".CHF" files of a folder and reads them (platform/caller_file.h).

#include <string_view>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform::sim {

Result<std::vector<RemoteCallerFile>> SimRemoteCallerFiles(Machine& machine, std::string_view filesDirectory);

}  // namespace kavlo::platform::sim
