#pragma once
// The real Windows computer the program runs on.

#include <memory>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

/// The machine the program runs on, through the A functions of the system.
std::unique_ptr<Machine> MakeWin32Machine();

}  // namespace kavlo::platform::win32
