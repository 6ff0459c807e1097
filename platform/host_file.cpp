#include "platform/host_file.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>

#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
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

FilePtr OpenHostFile(const std::string& path, const char* mode) {
    errno = 0;
    FilePtr file(std::fopen(path.c_str(), mode));
    if (!file && errno == 0) errno = EIO;
    return file;
}

int CloseHostFile(FilePtr& file) {
    if (!file) return 0;
    errno = 0;
    const int rc = std::fclose(file.release());
    return rc == 0 ? 0 : (errno ? errno : EIO);
}

bool HostFileExists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

namespace {
// Longest file name (one path component) that the file systems reports live on take.
constexpr std::size_t kMaxNameBytes = 255;
}  // namespace

std::string TempPathBeside(const std::string& target) {
    // "<name>.<8 hex digits>.tmp": a name that only just fits leaves no room for
    // the suffix, so its temporary takes a shortened copy of the name.
    const std::size_t slash = target.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string stem = target;
    constexpr std::size_t kSuffixBytes = 13;
    if (target.size() - nameStart + kSuffixBytes > kMaxNameBytes) stem.resize(nameStart + kMaxNameBytes - kSuffixBytes);
    thread_local std::mt19937_64 generator(
        std::random_device{}() ^
        static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    static const char* digits = "0123456789abcdef";
    for (;;) {
        std::uint64_t value = generator();
        std::string suffix = ".";
        for (int i = 0; i < 8; ++i, value >>= 4) suffix += digits[value & 15];
        std::string candidate = stem + suffix + ".tmp";
        if (!HostFileExists(candidate)) return candidate;
    }
}

namespace {

constexpr WinError kReadFault = 30;

class HostInputFile final : public InputFile {
public:
    HostInputFile(std::ifstream in, std::uint64_t size) : in_(std::move(in)), size_(size) {}

    Result<std::size_t> Read(char* buffer, std::size_t size) override {
        if (position_ >= size_ || size == 0) return std::size_t{0};
        const std::uint64_t wanted = std::min<std::uint64_t>(size, size_ - position_);
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(position_));
        in_.read(buffer, static_cast<std::streamsize>(wanted));
        const std::streamsize got = in_.gcount();
        if (got <= 0) return Result<std::size_t>::Failure(kReadFault);
        position_ += static_cast<std::uint64_t>(got);
        return static_cast<std::size_t>(got);
    }

    Status Seek(std::uint64_t offset) override {
        position_ = offset;
        return {};
    }

    std::uint64_t Size() const override { return size_; }

private:
    std::ifstream in_;
    std::uint64_t size_;
    std::uint64_t position_ = 0;
};

class HostByteSource final : public RandomAccessBytes {
public:
    HostByteSource(std::ifstream in, std::uint64_t size) : in_(std::move(in)), size_(size) {}

    std::uint64_t Size() const override { return size_; }

    bool ReadAt(std::uint64_t offset, void* out, std::size_t size) const override {
        if (offset > size_ || size > size_ - offset) return false;
        std::lock_guard lock(mutex_);
        in_.clear();
        in_.seekg(static_cast<std::streamoff>(offset));
        in_.read(static_cast<char*>(out), static_cast<std::streamsize>(size));
        return in_.gcount() == static_cast<std::streamsize>(size);
    }

private:
    mutable std::mutex mutex_;
    mutable std::ifstream in_;
    std::uint64_t size_;
};

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool OpenStream(const std::filesystem::path& path, std::ifstream& in, std::uint64_t& size) {
    if (!IsRegularFile(path)) return false;
    std::error_code ec;
    size = std::filesystem::file_size(path, ec);
    if (ec) return false;
    in.open(path, std::ios::binary);
    return in.is_open();
}

}  // namespace

std::unique_ptr<InputFile> OpenHostInput(const std::filesystem::path& path) {
    std::ifstream in;
    std::uint64_t size = 0;
    if (!OpenStream(path, in, size)) return nullptr;
    return std::make_unique<HostInputFile>(std::move(in), size);
}

HostPrefix ReadHostPrefix(const std::filesystem::path& path, std::size_t count) {
    HostPrefix out;
    if (!IsRegularFile(path)) return out;
#ifdef _WIN32
    std::FILE* raw = _wfopen(path.c_str(), L"rb");
#else
    std::FILE* raw = std::fopen(path.c_str(), "rb");
#endif
    if (!raw) return out;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(raw, &std::fclose);
    out.opened = true;
    out.bytes.resize(count);
    out.bytes.resize(std::fread(out.bytes.data(), 1, count, file.get()));
    return out;
}

std::unique_ptr<RandomAccessBytes> OpenHostBytes(const std::filesystem::path& path) {
    std::ifstream in;
    std::uint64_t size = 0;
    if (!OpenStream(path, in, size)) return nullptr;
    return std::make_unique<HostByteSource>(std::move(in), size);
}

}  // namespace kavlo::platform
