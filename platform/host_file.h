#pragma once
// Files on the host: the report's own files and atomic saves (paths are narrow strings in the
// host's ANSI code page on Windows or native bytes on POSIX, exactly as fopen takes them), and
// the files the simulated machine reads from its folder.

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "platform/machine.h"
#include "platform/pe_version.h"

namespace kavlo::platform {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
/// An open host file, closed when it goes out of scope.
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

/// Opens a host file; errno tells why on failure.
FilePtr OpenHostFile(const std::string& path, const char* mode);

/// Closes an owned file, reporting the errno value of a failed close (0 on success).
int CloseHostFile(FilePtr& file);

/// A name for a temporary file in the same directory as `target` that does not exist yet.
std::string TempPathBeside(const std::string& target);

/// True when the file exists (it can be opened for reading, or exists but cannot).
bool HostFileExists(const std::string& path);

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

/// Opens a host file for reading on behalf of the simulated machine; null unless it is a
/// regular file that can be opened (a FIFO or a device would block or never end).
std::unique_ptr<InputFile> OpenHostInput(const std::filesystem::path& path);

/// The first bytes of a host file, and whether it could be opened.
struct HostPrefix {
    bool opened = false;
    std::string bytes;  ///< up to the requested count; fewer when the file is shorter
};

/// Reads at most `count` bytes from the start of a host file, for a cheap look at its signature.
HostPrefix ReadHostPrefix(const std::filesystem::path& path, std::size_t count);

/// Random access to a host file for the PE reader; null when it cannot be opened.
std::unique_ptr<RandomAccessBytes> OpenHostBytes(const std::filesystem::path& path);

}  // namespace kavlo::platform
