#pragma once
// Host files read on behalf of the simulated machine.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/machine.h"
#include "platform/pe_version.h"

namespace kavlo::platform::sim {

/// Opens a host file for reading; null when it cannot be opened.
std::unique_ptr<InputFile> OpenHostFile(const std::filesystem::path& path);

/// The first bytes of a host file, and whether it could be opened.
struct HostPrefix {
    bool opened = false;
    std::string bytes;  ///< up to the requested count; fewer when the file is shorter
};

/// Reads at most `count` bytes from the start of a host file, for a cheap look at its signature.
HostPrefix ReadHostPrefix(const std::filesystem::path& path, std::size_t count);

/// Random access to a host file for the PE reader; null when it cannot be opened.
std::unique_ptr<ByteSource> OpenHostBytes(const std::filesystem::path& path);

}  // namespace kavlo::platform::sim
