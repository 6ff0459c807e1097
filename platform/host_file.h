#pragma once
// Host file operations that differ between Windows and POSIX and that the report
// needs for atomic saves. Paths are narrow strings in the host's ANSI code page
// (Windows) or native bytes (POSIX), exactly as fopen takes them.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace kavlo::platform {

/// Renames `from` to `to`, replacing `to` when it exists, in one step.
/// Returns 0 or an errno value (EACCES, ENOSPC, ENOENT, EIO, ...).
int ReplaceHostFile(const std::string& from, const std::string& to);

/// Flushes the C buffer and asks the system to put the file's data on disk.
/// Returns 0 or an errno value.
int FlushHostFile(std::FILE* file);

/// Size in bytes of an open file (64-bit on every host); nullopt when unknown.
std::optional<std::uint64_t> HostFileSize(std::FILE* file);

}  // namespace kavlo::platform
