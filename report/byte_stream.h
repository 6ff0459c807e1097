#pragma once
// Where archive bytes come from and go to: memory, or a host file. Sources know
// their total size up front, so that the reader can refuse a count or length
// that is larger than the bytes left before it allocates anything.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace kavlo::report {

/// A sequence of bytes of known total size, read front to back.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    /// Total number of bytes the source delivers.
    virtual std::uint64_t Size() const = 0;
    /// Copies up to `size` bytes; fewer only at the end or after a failure.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
    /// True after a read error (not at a plain end).
    virtual bool failed() const = 0;
    /// The whole content when it already lies in memory (lets the reader skip copying).
    virtual std::optional<std::string_view> Contiguous() const { return std::nullopt; }
};

/// Bytes that lie in memory; the caller keeps them alive.
class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    std::size_t Read(char* buffer, std::size_t size) override;
    bool failed() const override { return false; }
    std::optional<std::string_view> Contiguous() const override { return bytes_; }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

/// An open host file, read from its start to its end.
class FileSource final : public ByteSource {
public:
    /// Takes the file's size from the system (failed when unknown); `file` stays
    /// owned by the caller and must be positioned at its start.
    explicit FileSource(std::FILE* file);
    std::uint64_t Size() const override { return size_; }
    std::size_t Read(char* buffer, std::size_t size) override;
    bool failed() const override { return failed_; }

private:
    std::FILE* file_;
    std::uint64_t size_ = 0;
    bool failed_ = false;
};

/// Receives archive bytes. Once a write fails, the sink stays failed.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    /// Appends bytes; false when they could not all be written.
    virtual bool Write(const char* data, std::size_t size) = 0;
};

/// Collects the bytes in a string.
class StringSink final : public ByteSink {
public:
    bool Write(const char* data, std::size_t size) override {
        bytes.append(data, size);
        return true;
    }
    std::string bytes;
};

/// Writes to an open host file; remembers the errno of the first failure.
class FileSink final : public ByteSink {
public:
    explicit FileSink(std::FILE* file) : file_(file) {}
    bool Write(const char* data, std::size_t size) override;
    int error() const { return error_; }

private:
    std::FILE* file_;
    int error_ = 0;
};

}  // namespace kavlo::report
