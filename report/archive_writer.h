#pragma once
// The writing half of the archive: little-endian primitives, strings with their
// length prefixes, counts and object references with the shared class/object
// numbering, buffered in front of a sink.

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "report/archive_format.h"
#include "report/byte_stream.h"

namespace kavlo::report {

class ArchiveWriter {
public:
    explicit ArchiveWriter(ByteSink& sink);
    ArchiveWriter(const ArchiveWriter&) = delete;
    ArchiveWriter& operator=(const ArchiveWriter&) = delete;

    void Byte(std::uint8_t value) { Put(&value, 1); }
    void Word(std::uint16_t value);
    void Dword(std::uint32_t value);
    /// Length prefix (BYTE, 0xFF+WORD or 0xFF+0xFFFF+DWORD) and the bytes; fails beyond 4 GiB.
    void String(std::string_view text);
    /// WORD, or 0xFFFF and a DWORD from 65535 on; fails beyond 32 bits.
    void Count(std::size_t count);
    /// The reference that introduces a new object of `cls`: a descriptor for the
    /// class's first object, a class tag afterwards. Numbers the class and object.
    void NewObject(RecordClass cls);

    /// Marks the archive as failed (a value that cannot be represented).
    void Fail() { failed_ = true; }
    /// Hands buffered bytes to the sink; false when anything failed so far.
    bool Flush();
    bool ok() const { return !failed_; }
    /// True when the failure came from the sink rather than from a value.
    bool sinkFailed() const { return sinkFailed_; }
    /// Bytes written so far, buffered ones included.
    std::uint64_t Written() const { return flushed_ + used_; }

private:
    void Put(const void* data, std::size_t size);

    static constexpr std::size_t kBufferSize = 256 * 1024;
    ByteSink& sink_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::uint64_t flushed_ = 0;
    bool failed_ = false;
    bool sinkFailed_ = false;
    std::uint32_t nextNumber_ = 1;
    std::array<std::uint32_t, 4> classNumbers_{};
};

}  // namespace kavlo::report
