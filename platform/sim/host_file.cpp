#include "platform/sim/host_file.h"

#include <algorithm>
#include <cstdio>
#include <mutex>

namespace kavlo::platform::sim {
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

class HostByteSource final : public ByteSource {
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

// Only regular files are opened: a FIFO or a device would block or never end.
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

std::unique_ptr<InputFile> OpenHostFile(const std::filesystem::path& path) {
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

std::unique_ptr<ByteSource> OpenHostBytes(const std::filesystem::path& path) {
    std::ifstream in;
    std::uint64_t size = 0;
    if (!OpenStream(path, in, size)) return nullptr;
    return std::make_unique<HostByteSource>(std::move(in), size);
}

}  // namespace kavlo::platform::sim
