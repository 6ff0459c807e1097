#pragma once
// Host files read on behalf of the simulated machine.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/machine.h"
#include "platform/pe_version.h"

namespace kavlo::platform::sim {

/// Opens a host file for reading; null when it cannot be opened.
std::unique_ptr<InputFile> OpenHostFile(const std::filesystem::path& path);

/// Random access to a host file for the PE reader; null when it cannot be opened.
std::unique_ptr<ByteSource> OpenHostBytes(const std::filesystem::path& path);

}  // namespace kavlo::platform::sim
