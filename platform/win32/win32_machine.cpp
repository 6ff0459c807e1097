#include "platform/win32/win32_machine.h"

namespace kavlo::platform::win32 {

std::unique_ptr<Machine> MakeWin32Machine() { return nullptr; }

}  // namespace kavlo::platform::win32
