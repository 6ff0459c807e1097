#include "report/host_files.h"

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <random>

#include <sys/stat.h>

namespace kavlo::report {

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

}  // namespace kavlo::report
