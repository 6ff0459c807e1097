#pragma once
// Small helpers for the report's own files on the host: an owning FILE handle and
// temporary names beside a target.

#include <cstdio>
#include <memory>
#include <string>

namespace kavlo::report {

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

}  // namespace kavlo::report
