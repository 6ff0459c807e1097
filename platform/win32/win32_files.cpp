#include "platform/win32/win32_files.h"

#include <algorithm>
#include <cstring>

#include "platform/win32/growing_buffer.h"
#include "platform/win32/handles.h"
#include "platform/win32/last_error.h"
#include "platform/win32/win32_time.h"

namespace kavlo::platform::win32 {
namespace {

/// The directory part of a search pattern ("C:\dir" of "C:\dir\*.txt"); empty
/// when the pattern names no directory.
std::string_view PatternDirectory(std::string_view pattern) {
    const std::size_t separator = pattern.find_last_of("\\/");
    if (separator == std::string_view::npos) return {};
    return pattern.substr(0, separator);
}

FindEntry MakeEntry(const WIN32_FIND_DATAA& data, std::string_view directory, bool patternHasDirectory) {
    FindEntry entry;
    entry.name.assign(data.cFileName, ::strnlen(data.cFileName, sizeof data.cFileName));
    entry.shortName.assign(data.cAlternateFileName, ::strnlen(data.cAlternateFileName, sizeof data.cAlternateFileName));
    entry.fullPath = patternHasDirectory ? std::string(directory) + "\\" + entry.name : entry.name;
    entry.attributes = data.dwFileAttributes;
    entry.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.lastWrite = ToLocalTime(data.ftLastWriteTime);
    return entry;
}

class Win32InputFile final : public InputFile {
public:
    explicit Win32InputFile(UniqueFile file) : file_(std::move(file)) {}

    Result<std::size_t> Read(char* buffer, std::size_t size) override {
        std::size_t total = 0;
        while (total < size) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size - total, 1u << 30));
            DWORD got = 0;
            if (!::ReadFile(file_.get(), buffer + total, chunk, &got, nullptr)) {
                if (total > 0) break;
                return Result<std::size_t>::Failure(LastErrorOr());
            }
            if (got == 0) break;
            total += got;
        }
        return total;
    }

    Status Seek(std::uint64_t offset) override {
        if (offset > static_cast<std::uint64_t>(INT64_MAX)) return Status(ERROR_NEGATIVE_SEEK);
        LARGE_INTEGER distance;
        distance.QuadPart = static_cast<LONGLONG>(offset);
        if (!::SetFilePointerEx(file_.get(), distance, nullptr, FILE_BEGIN)) return Status(LastErrorOr());
        return Status();
    }

    std::uint64_t Size() const override {
        LARGE_INTEGER size;
        if (!::GetFileSizeEx(file_.get(), &size) || size.QuadPart < 0) return 0;
        return static_cast<std::uint64_t>(size.QuadPart);
    }

private:
    UniqueFile file_;
};

using GetDiskFreeSpaceExFunction = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

}  // namespace

Result<std::vector<FindEntry>> FindFiles(std::string_view pattern) {
    const std::string searchPattern(pattern);
    const std::string_view directory = PatternDirectory(pattern);
    const bool hasDirectory = pattern.find_first_of("\\/") != std::string_view::npos;

    WIN32_FIND_DATAA data{};
    UniqueFind search(::FindFirstFileA(searchPattern.c_str(), &data));
    if (!search) return Result<std::vector<FindEntry>>::Failure(LastErrorOr());

    std::vector<FindEntry> entries;
    do {
        entries.push_back(MakeEntry(data, directory, hasDirectory));
    } while (::FindNextFileA(search.get(), &data));
    // ERROR_NO_MORE_FILES ends every search; another error ends it early with
    // what was found, as a loop over FindNextFile would.
    return entries;
}

Result<std::unique_ptr<InputFile>> OpenForRead(std::string_view path) {
    const std::string fileName(path);
    UniqueFile file(::CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return Result<std::unique_ptr<InputFile>>::Failure(LastErrorOr());
    return std::unique_ptr<InputFile>(std::make_unique<Win32InputFile>(std::move(file)));
}

Result<std::string> ShortPathName(std::string_view path) {
    const std::string longPath(path);
    return ReadGrowingText(
        [&](char* buffer, DWORD capacity) { return ::GetShortPathNameA(longPath.c_str(), buffer, capacity); });
}

std::string DriveRoot(std::string_view root) {
    std::string result(root);
    if (result.size() == 2 && result[1] == ':') result += '\\';
    return result;
}

Result<VolumeInfo> Volume(std::string_view root) {
    const std::string rootPath = DriveRoot(root);
    // Volume labels and file-system names are limited to MAX_PATH by the API itself.
    char label[MAX_PATH + 1] = {};
    char fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0, longestComponent = 0, flags = 0;
    if (!::GetVolumeInformationA(rootPath.c_str(), label, sizeof label, &serial, &longestComponent, &flags, fileSystem,
                                 sizeof fileSystem)) {
        return Result<VolumeInfo>::Failure(LastErrorOr());
    }
    VolumeInfo info;
    info.label.assign(label, ::strnlen(label, sizeof label));
    info.fileSystem.assign(fileSystem, ::strnlen(fileSystem, sizeof fileSystem));
    info.serialNumber = serial;
    return info;
}

Result<DiskSpace> FreeSpace(std::string_view root) {
    const std::string rootPath = DriveRoot(root);
    // Old systems lack the Ex function; the module is KERNEL32, always loaded.
    const auto freeSpaceEx =
        ProcAddress<GetDiskFreeSpaceExFunction>(::GetModuleHandleA("KERNEL32.DLL"), "GetDiskFreeSpaceExA");
    DiskSpace space;
    if (freeSpaceEx != nullptr) {
        ULARGE_INTEGER toCaller{}, total{}, totalFree{};
        if (!freeSpaceEx(rootPath.c_str(), &toCaller, &total, &totalFree)) {
            return Result<DiskSpace>::Failure(LastErrorOr());
        }
        space.freeBytesToCaller = toCaller.QuadPart;
        space.totalBytes = total.QuadPart;
        space.totalFreeBytes = totalFree.QuadPart;
        return space;
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!::GetDiskFreeSpaceA(rootPath.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)) {
        return Result<DiskSpace>::Failure(LastErrorOr());
    }
    const std::uint64_t clusterBytes = static_cast<std::uint64_t>(sectorsPerCluster) * bytesPerSector;
    space.freeBytesToCaller = clusterBytes * freeClusters;
    space.totalFreeBytes = space.freeBytesToCaller;
    space.totalBytes = clusterBytes * totalClusters;
    return space;
}

std::vector<std::string> LogicalDrives() {
    // The list is "A:\<0>C:\<0>...<0>"; its length counts every zero but the last.
    std::string list(128, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const DWORD length = ::GetLogicalDriveStringsA(static_cast<DWORD>(list.size()), list.data());
        if (length == 0) return {};
        if (length < list.size()) {
            list.resize(length);
            break;
        }
        list.assign(length + 1, '\0');
    }
    std::vector<std::string> drives;
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = std::min(list.find('\0', start), list.size());
        if (end > start) drives.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return drives;
}

}  // namespace kavlo::platform::win32
