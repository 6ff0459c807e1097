#pragma once
// Version resources of files on the real machine.

#include <memory>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

/// GetFileVersionInfoSizeA/GetFileVersionInfoA, queried with VerQueryValueA.
Result<std::unique_ptr<VersionResource>> FileVersion(std::string_view path);

}  // namespace kavlo::platform::win32
