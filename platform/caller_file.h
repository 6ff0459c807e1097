#pragma once
// The remote-control product's caller files (".CHF") as the simulated machine's
// automation server reads them. The layout is in docs/machine-format.md.

#include <optional>
#include <string_view>

#include "platform/machine.h"

namespace kavlo::platform {

/// Fields longer than this are cut.
inline constexpr std::size_t kMaxCallerField = 255;

/// The settings of one caller file (fileName stays empty); nullopt when the bytes
/// are not a caller file of a known version. Missing fields read as empty or 0.
std::optional<RemoteCallerFile> ParseCallerFile(std::string_view bytes);

}  // namespace kavlo::platform
