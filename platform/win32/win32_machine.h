#pragma once
// The real Windows computer the program runs on.

#include <memory>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

std::unique_ptr<Machine> MakeWin32Machine();

}  // namespace kavlo::platform::win32
