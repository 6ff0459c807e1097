#pragma once
// The simulated machine: a folder that describes one Windows computer
// (machine.ini, registry/*.reg, drives/<letter>/...). See docs/machine-format.md.

#include <memory>
#include <string>

#include "platform/machine.h"

namespace kavlo::platform::sim {

struct LoadResult {
    std::unique_ptr<Machine> machine;  ///< null on failure
    std::string error;                 ///< "file:line: what is wrong" on failure
};

/// Loads a machine folder completely; nothing is returned for a half-loaded image.
LoadResult LoadMachine(const std::string& folder);

}  // namespace kavlo::platform::sim
