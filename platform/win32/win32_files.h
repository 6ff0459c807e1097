#pragma once
// Files, searches and volumes of the real machine.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine.h"

namespace kavlo::platform::win32 {

/// FindFirstFileA/FindNextFileA over the pattern, in the file system's order.
Result<std::vector<FindEntry>> FindFiles(std::string_view pattern);

/// CreateFileA for reading, sharing read and write with other programs.
Result<std::unique_ptr<InputFile>> OpenForRead(std::string_view path);

/// GetShortPathNameA of any length.
Result<std::string> ShortPathName(std::string_view path);

/// "X:\" for "X:" (the drive functions need the trailing backslash); other roots unchanged.
std::string DriveRoot(std::string_view root);

/// GetVolumeInformationA.
Result<VolumeInfo> Volume(std::string_view root);

/// GetDiskFreeSpaceExA when KERNEL32 has it, else GetDiskFreeSpaceA.
Result<DiskSpace> FreeSpace(std::string_view root);

/// GetLogicalDriveStringsA split into "A:\", "C:\", ...
std::vector<std::string> LogicalDrives();

}  // namespace kavlo::platform::win32
