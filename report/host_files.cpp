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

std::string TempPathBeside(const std::string& target) {
    thread_local std::mt19937_64 generator(
        std::random_device{}() ^ static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
    static const char* digits = "0123456789abcdef";
    for (;;) {
        std::uint64_t value = generator();
        std::string suffix = ".";
        for (int i = 0; i < 8; ++i, value >>= 4) suffix += digits[value & 15];
        std::string candidate = target + suffix + ".tmp";
        if (!HostFileExists(candidate)) return candidate;
    }
}

}  // namespace kavlo::report
