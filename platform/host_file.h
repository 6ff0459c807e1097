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

/// What a path names once its symbolic links are followed.
enum class HostFileKind {
    Missing,  ///< nothing there yet
    Regular,  ///< an ordinary file
    Directory,
    Stream,    ///< a character device or a FIFO: written in place, never replaced
    Unusable,  ///< a block device, a socket or anything else no output may go to
};

struct HostTarget {
    std::string path;  ///< the path with every symbolic link of its last component followed
    HostFileKind kind = HostFileKind::Missing;
    int error = 0;         ///< errno value when the path could not be examined (ELOOP, EACCES, ...)
    bool writable = true;  ///< for a regular file: some write permission is set (the read-only attribute is clear)
};

/// Follows `path` through symbolic links (relative ones from their own folder,
/// at most 40 of them) to what an output written there would really replace.
HostTarget ResolveHostTarget(const std::string& path);

/// True when both paths name the same existing file (links and hard links included).
bool SameHostFile(const std::string& a, const std::string& b);

}  // namespace kavlo::platform
