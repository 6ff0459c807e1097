#include "platform/host_file.h"

#include <cerrno>
#include <filesystem>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kavlo::platform {

int ReplaceHostFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return 0;
    switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND: return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_WRITE_PROTECT: return EACCES;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return ENOSPC;
        default: return EIO;
    }
#else
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
#endif
}

int FlushHostFile(std::FILE* file) {
    if (std::fflush(file) != 0) return errno ? errno : EIO;
#ifdef _WIN32
    if (_commit(_fileno(file)) != 0) return errno ? errno : EIO;
#else
    if (fsync(fileno(file)) != 0 && errno != EINVAL && errno != EROFS) return errno;
#endif
    return 0;
}

std::optional<std::uint64_t> HostFileSize(std::FILE* file) {
#ifdef _WIN32
    LARGE_INTEGER size;
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size) || size.QuadPart < 0) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
#else
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || info.st_size < 0) return std::nullopt;
    return static_cast<std::uint64_t>(info.st_size);
#endif
}

namespace {

namespace fs = std::filesystem;

// Linux and Windows both give up after about this many links in one lookup.
constexpr int kMaxLinks = 40;

HostFileKind KindOf(const fs::file_status& status) {
    switch (status.type()) {
        case fs::file_type::not_found: return HostFileKind::Missing;
        case fs::file_type::regular: return HostFileKind::Regular;
        case fs::file_type::directory: return HostFileKind::Directory;
        case fs::file_type::character:
        case fs::file_type::fifo: return HostFileKind::Stream;
        default: return HostFileKind::Unusable;
    }
}

}  // namespace

HostTarget ResolveHostTarget(const std::string& path) {
    HostTarget target;
    fs::path current(path);
    for (int links = 0;; ++links) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(current, ec);
        if (ec && status.type() != fs::file_type::not_found) {
            target.error = ec.value();
            target.kind = HostFileKind::Unusable;
            break;
        }
        if (status.type() != fs::file_type::symlink) {
            target.kind = KindOf(status);
            const fs::perms perms = status.permissions();
            target.writable = (perms & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) !=
                              fs::perms::none;
            break;
        }
        if (links == kMaxLinks) {
            target.error = ELOOP;
            target.kind = HostFileKind::Unusable;
            break;
        }
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) {
            target.error = ec.value();
            target.kind = HostFileKind::Unusable;
            break;
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    target.path = current.string();
    return target;
}

bool SameHostFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

}  // namespace kavlo::platform
