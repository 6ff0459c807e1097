#pragma once
// Chooses the machine a front end looks at.

#include <memory>
#include <string>

#include "platform/machine.h"

namespace kavlo::platform {

struct MachineChoice {
    std::unique_ptr<Machine> machine;
    std::string error;   ///< why no machine could be made (file and line for a bad image)
    std::string folder;  ///< the simulated machine's folder; empty for the real machine
};

/// The simulated machine in `folder`, or, when `folder` is empty, the real
/// machine on Windows and the bundled sample machine elsewhere.
MachineChoice OpenMachine(const std::string& folder);

/// The folder of the bundled sample machine, for front ends and tests: the
/// installed copy's, else the one of the source tree this program was built from.
std::string DefaultSampleMachineFolder();

}  // namespace kavlo::platform
