#pragma once
// Reports in gzip format, done in-process with zlib: a compressed report is read
// as a byte source without writing anything to disk, and a report file is
// compressed to "<name>.gz" the way the gzip program leaves it.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "report/atomic_output.h"
#include "report/byte_stream.h"

namespace kavlo::report {

/// True when the bytes begin like a gzip member (1F 8B).
bool LooksLikeGzip(const char* firstBytes, std::size_t size);

/// The decompressed content of an open gzip file (one or more members). The
/// content is decompressed twice: once to learn and check its size, once while
/// it is read, so neither a large report nor a gzip bomb is held in memory.
class GzipFileSource final : public ByteSource {
public:
    enum class Problem {
        None,
        Damaged,   ///< not gzip, corrupt, or garbage after the last member
        TooLarge,  ///< decompresses to more than the limit
        ReadError,
    };

    /// Measures the content; check problem() before reading. `file` stays owned by the caller.
    GzipFileSource(std::FILE* file, std::uint64_t limit);
    ~GzipFileSource() override;

    Problem problem() const { return problem_; }
    std::uint64_t Size() const override { return size_; }
    std::size_t Read(char* buffer, std::size_t size) override;
    bool failed() const override { return problem_ != Problem::None; }

private:
    class Inflater;
    std::unique_ptr<Inflater> inflater_;
    std::uint64_t size_ = 0;
    std::uint64_t delivered_ = 0;
    Problem problem_ = Problem::None;
};

/// What became of a compression.
enum class CompressStatus {
    Ok,
    CannotRead,    ///< the report file could not be read, or is not a regular file
    CannotWrite,   ///< the ".gz" file could not be written (see writeOutcome)
    VerifyFailed,  ///< the written ".gz" did not decompress to the report
};

struct CompressResult {
    CompressStatus status = CompressStatus::Ok;
    int error = 0;  ///< errno value of a failed read
    std::string gzPath;
    std::string reason;        ///< why the report could not be read, in plain words
    FileOutcome writeOutcome;  ///< what writing the ".gz" file answered
};

/// Compresses `path` into `path` + ".gz" (name and time of the report in the gzip
/// header), checks that it decompresses to the same bytes, and then removes
/// `path`, as the gzip program does. On failure `path` stays and no ".gz" is left.
/// The ".gz" file is written like every output (AtomicOutput): a read-only one is
/// refused like a read-only report.
CompressResult CompressReportFile(const std::string& path);

}  // namespace kavlo::report
