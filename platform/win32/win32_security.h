#pragma once
// Access checks of files and directories on the real machine.

#include <cstdint>
#include <string_view>

#include "platform/result.h"

namespace kavlo::platform::win32 {

/// The access mask the current user is granted on a file or directory: its
/// security descriptor (GetFileSecurityA) checked against the thread's own
/// token (ImpersonateSelf, OpenThreadToken, AccessCheck for MAXIMUM_ALLOWED).
Result<std::uint32_t> EffectiveAccess(std::string_view path);

}  // namespace kavlo::platform::win32
