#pragma once
// The remote-control product's caller files, read through its automation server.

#include <string_view>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

/// Creates "MIRROLETSVR.RemoteDataManager" once, lists the files of the folder
/// and reads each caller object's properties by dispatch id; 2 when the server
/// is not registered.
Result<std::vector<RemoteCallerFile>> RemoteCallerFiles(std::string_view filesDirectory);

}  // namespace kavlo::platform::win32
