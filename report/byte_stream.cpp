#include "report/byte_stream.h"

#include <cerrno>
#include <algorithm>
#include <cstring>

#include "platform/host_file.h"

namespace kavlo::report {

std::size_t MemorySource::Read(char* buffer, std::size_t size) {
    const std::size_t n = std::min(size, bytes_.size() - pos_);
    if (n) std::memcpy(buffer, bytes_.data() + pos_, n);
    pos_ += n;
    return n;
}

FileSource::FileSource(std::FILE* file) : file_(file) {
    const auto size = platform::HostFileSize(file);
    if (size) size_ = *size;
    else failed_ = true;
}

std::size_t FileSource::Read(char* buffer, std::size_t size) {
    if (failed_) return 0;
    std::size_t total = 0;
    while (total < size) {
        const std::size_t n = std::fread(buffer + total, 1, size - total, file_);
        if (n == 0) {
            if (std::ferror(file_)) failed_ = true;
            break;
        }
        total += n;
    }
    return total;
}

bool FileSink::Write(const char* data, std::size_t size) {
    if (error_) return false;
    if (size == 0) return true;
    errno = 0;
    if (std::fwrite(data, 1, size, file_) != size) {
        error_ = errno ? errno : EIO;
        return false;
    }
    return true;
}

}  // namespace kavlo::report
