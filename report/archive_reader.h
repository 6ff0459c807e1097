#pragma once
// The reading half of the archive, for files that may be damaged or hostile:
// every read is bounds-checked against the bytes left, the first error leaves
// the reader failed for good (later reads give zeros and empty strings), and no
// count or length larger than the bytes left is ever acted on.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "report/archive_format.h"
#include "report/byte_stream.h"
#include "report/read_budget.h"

namespace kavlo::report {

/// One element of a list as the reader decoded its reference.
struct ObjectRef {
    enum class Kind { New, Existing };
    Kind kind = Kind::New;
    RecordClass cls = RecordClass::NavNode;
    std::uint32_t number = 0;  ///< the object's number in the shared numbering
};

class ArchiveReader {
public:
    /// Wide strings are converted to `codePage`.
    ArchiveReader(ByteSource& source, std::uint32_t codePage = 1252);
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    std::uint8_t Byte();
    std::uint16_t Word();
    std::uint32_t Dword();
    /// A string in any of its prefixed forms, the UTF-16 form converted to the code page.
    std::string String();
    /// A list count; fails when `minElementBytes` per element do not fit in the bytes left.
    std::uint32_t Count(std::size_t minElementBytes);
    /// Decodes an object reference (tag, descriptor or class tag, or back-reference).
    /// A new object gets the next number; null references and unknown numbers fail.
    std::optional<ObjectRef> Reference();

    /// Remembers the object that was created for a new reference of that number.
    void Bind(std::uint32_t number, const void* object);
    /// Marks the object of that number as completely read.
    void MarkComplete(std::uint32_t number);
    /// The object bound to a number (null if none) and whether it is complete.
    const void* ObjectAt(std::uint32_t number, bool* complete) const;

    /// Copies the next `size` bytes without consuming them; false when fewer remain.
    bool Peek(char* out, std::size_t size);

    /// Charges every string read from now on to `budget` (kept by the caller);
    /// a string beyond it fails the reader before it is allocated.
    void SetBudget(BuildBudget* budget) { budget_ = budget; }

    void Fail() { failed_ = true; }
    bool failed() const { return failed_; }
    /// True when the source itself failed (an I/O error rather than bad content).
    bool sourceFailed() const { return source_.failed(); }
    std::uint64_t Remaining() const;
    std::uint64_t Size() const { return size_; }

private:
    /// Copies exactly `size` bytes or fails.
    bool Take(void* out, std::size_t size);
    /// Makes at least `size` bytes available in the window; false when they do not exist.
    bool Fill(std::size_t size);
    /// Reads from the source until `size` bytes came or it ends; counts them as pulled.
    std::size_t ReadFully(char* out, std::size_t size);
    std::optional<std::uint64_t> PlainLength(bool allowWideMarker, bool* wide);
    std::optional<RecordClass> Descriptor();
    std::optional<std::uint32_t> Assign(bool isClass, RecordClass cls);

    struct Numbered {
        const void* object = nullptr;
        RecordClass cls = RecordClass::NavNode;
        bool isClass = false;
        bool complete = false;
    };

    static constexpr std::size_t kBufferSize = 256 * 1024;
    ByteSource& source_;
    std::uint32_t codePage_;
    std::uint64_t size_;
    std::unique_ptr<char[]> buffer_;
    const char* begin_ = nullptr;  // window over the source
    const char* pos_ = nullptr;
    const char* end_ = nullptr;
    std::uint64_t windowOffset_ = 0;  // source offset of begin_
    std::uint64_t pulled_ = 0;        // bytes taken from the source so far
    bool failed_ = false;
    BuildBudget* budget_ = nullptr;
    std::vector<Numbered> numbered_;  // index = number - 1
};

}  // namespace kavlo::report
