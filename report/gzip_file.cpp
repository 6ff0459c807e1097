#include "report/gzip_file.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include <sys/stat.h>

#include "platform/host_file.h"
#include "platform/host_file.h"

namespace kavlo::report {

bool LooksLikeGzip(const char* firstBytes, std::size_t size) {
    return size >= 2 && static_cast<unsigned char>(firstBytes[0]) == 0x1F &&
           static_cast<unsigned char>(firstBytes[1]) == 0x8B;
}

namespace {
constexpr std::size_t kChunk = 256 * 1024;
constexpr int kGzipWindowBits = 15 + 16;  // deflate window 32 KiB, gzip wrapper
}  // namespace

// ----------------------------------------------------------------- reading

/// Streams the members of a gzip file; garbage after the last member is
/// damage, zero padding is not (the gzip program ignores it too).
class GzipFileSource::Inflater {
public:
    explicit Inflater(std::FILE* file) : file_(file), input_(new unsigned char[kChunk]) {
        std::memset(&stream_, 0, sizeof stream_);
        ready_ = inflateInit2(&stream_, kGzipWindowBits) == Z_OK;
    }
    ~Inflater() {
        if (ready_) inflateEnd(&stream_);
    }
    Inflater(const Inflater&) = delete;
    Inflater& operator=(const Inflater&) = delete;

    bool Rewind() {
        if (std::fseek(file_, 0, SEEK_SET) != 0) return false;
        std::clearerr(file_);
        stream_.avail_in = 0;
        atEof_ = inMember_ = padding_ = done_ = false;
        members_ = 0;
        return true;
    }

    /// Up to `size` bytes of content; 0 at the end or after a problem.
    std::size_t Read(char* out, std::size_t size, Problem& problem) {
        if (!ready_) {
            problem = Problem::ReadError;
            return 0;
        }
        std::size_t produced = 0;
        while (produced < size && !done_) {
            if (stream_.avail_in == 0 && !atEof_ && !FillInput(problem)) return produced;
            if (stream_.avail_in == 0) {
                // The input ended: fine between members, damage inside one.
                if (inMember_ || members_ == 0) problem = Problem::Damaged;
                done_ = true;
                break;
            }
            if (!inMember_) {
                if (*stream_.next_in == 0) {
                    while (stream_.avail_in > 0 && *stream_.next_in == 0) ++stream_.next_in, --stream_.avail_in;
                    padding_ = true;
                    continue;
                }
                if (padding_ || inflateReset(&stream_) != Z_OK) {
                    problem = Problem::Damaged;
                    done_ = true;
                    break;
                }
                inMember_ = true;
            }
            const std::size_t room = std::min<std::size_t>(size - produced, 1u << 30);
            stream_.next_out = reinterpret_cast<unsigned char*>(out + produced);
            stream_.avail_out = static_cast<uInt>(room);
            const int rc = inflate(&stream_, Z_NO_FLUSH);
            produced += room - stream_.avail_out;
            if (rc == Z_STREAM_END) {
                inMember_ = false;
                ++members_;
            } else if (rc == Z_BUF_ERROR) {
                if (stream_.avail_in > 0 && stream_.avail_out > 0) {
                    problem = Problem::Damaged;
                    done_ = true;
                }
            } else if (rc != Z_OK) {
                problem = Problem::Damaged;
                done_ = true;
            }
        }
        return produced;
    }

private:
    bool FillInput(Problem& problem) {
        const std::size_t got = std::fread(input_.get(), 1, kChunk, file_);
        if (got == 0) {
            if (std::ferror(file_)) {
                problem = Problem::ReadError;
                done_ = true;
                return false;
            }
            atEof_ = true;
        }
        stream_.next_in = input_.get();
        stream_.avail_in = static_cast<uInt>(got);
        return true;
    }

    std::FILE* file_;
    std::unique_ptr<unsigned char[]> input_;
    z_stream stream_;
    bool ready_ = false;
    bool atEof_ = false;
    bool inMember_ = false;
    bool padding_ = false;
    bool done_ = false;
    std::uint64_t members_ = 0;
};

GzipFileSource::GzipFileSource(std::FILE* file, std::uint64_t limit) : inflater_(std::make_unique<Inflater>(file)) {
    if (!inflater_->Rewind()) {
        problem_ = Problem::ReadError;
        return;
    }
    std::unique_ptr<char[]> scratch(new char[kChunk]);
    for (;;) {
        const std::size_t got = inflater_->Read(scratch.get(), kChunk, problem_);
        if (problem_ != Problem::None) return;
        if (got == 0) break;
        size_ += got;
        if (size_ > limit) {
            problem_ = Problem::TooLarge;
            return;
        }
    }
    if (!inflater_->Rewind()) problem_ = Problem::ReadError;
}

GzipFileSource::~GzipFileSource() = default;

std::size_t GzipFileSource::Read(char* buffer, std::size_t size) {
    if (problem_ != Problem::None) return 0;
    const std::uint64_t left = size_ - delivered_;
    if (size > left) size = static_cast<std::size_t>(left);
    const std::size_t got = inflater_->Read(buffer, size, problem_);
    delivered_ += got;
    // The file changed between the two passes.
    if (problem_ == Problem::None && got < size) problem_ = Problem::ReadError;
    return got;
}

// ----------------------------------------------------------------- writing

namespace {

/// Deflates one host file into another with a gzip header naming the original.
class GzipWriter {
public:
    GzipWriter(const std::string& name, std::uint32_t mtime) : name_(name) {
        std::memset(&stream_, 0, sizeof stream_);
        std::memset(&header_, 0, sizeof header_);
        ready_ = deflateInit2(&stream_, 6, Z_DEFLATED, kGzipWindowBits, 8, Z_DEFAULT_STRATEGY) == Z_OK;
        header_.name = reinterpret_cast<Bytef*>(name_.data());
        header_.time = mtime;
        header_.os = 0;  // written for FAT/NTFS systems, as on the machines reports come from
        if (ready_) ready_ = deflateSetHeader(&stream_, &header_) == Z_OK;
    }
    ~GzipWriter() {
        if (ready_) deflateEnd(&stream_);
    }
    GzipWriter(const GzipWriter&) = delete;
    GzipWriter& operator=(const GzipWriter&) = delete;

    /// Compresses all of `in` into `out`; returns 0, or an errno value (-1 for a read failure).
    int Run(std::FILE* in, std::FILE* out) {
        if (!ready_) return ENOMEM;
        std::vector<unsigned char> input(kChunk), output(kChunk);
        int flush = Z_NO_FLUSH;
        do {
            const std::size_t got = std::fread(input.data(), 1, input.size(), in);
            if (std::ferror(in)) return -1;
            flush = std::feof(in) ? Z_FINISH : Z_NO_FLUSH;
            stream_.next_in = input.data();
            stream_.avail_in = static_cast<uInt>(got);
            do {
                stream_.next_out = output.data();
                stream_.avail_out = static_cast<uInt>(output.size());
                if (deflate(&stream_, flush) == Z_STREAM_ERROR) return EIO;
                const std::size_t have = output.size() - stream_.avail_out;
                errno = 0;
                if (have && std::fwrite(output.data(), 1, have, out) != have) return errno ? errno : EIO;
            } while (stream_.avail_out == 0);
        } while (flush != Z_FINISH);
        return 0;
    }

private:
    std::string name_;
    z_stream stream_;
    gz_header header_;
    bool ready_ = false;
};

std::string BaseName(const std::string& path) {
    const auto slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

/// True when the gzip file decompresses to exactly the bytes of `original`.
bool SameContent(const std::string& gzPath, std::FILE* original) {
    platform::FilePtr gz = platform::OpenHostFile(gzPath, "rb");
    if (!gz || std::fseek(original, 0, SEEK_SET) != 0) return false;
    GzipFileSource source(gz.get(), UINT64_MAX);
    if (source.problem() != GzipFileSource::Problem::None) return false;
    std::vector<char> a(kChunk), b(kChunk);
    std::uint64_t compared = 0;
    for (;;) {
        const std::size_t got = std::fread(a.data(), 1, a.size(), original);
        if (std::ferror(original)) return false;
        if (got == 0) break;
        if (source.Read(b.data(), got) != got || std::memcmp(a.data(), b.data(), got) != 0) return false;
        compared += got;
    }
    return compared == source.Size() && !source.failed();
}

}  // namespace

CompressResult CompressReportFile(const std::string& path) {
    CompressResult result;
    result.gzPath = path + ".gz";
    // Compressing removes the report afterwards: never a device, a FIFO or a folder.
    if (platform::ResolveHostTarget(path).kind != platform::HostFileKind::Regular) {
        result.status = CompressStatus::CannotRead;
        result.error = std::filesystem::exists(path) ? EINVAL : ENOENT;
        result.reason = "'" + path + "' is not a regular file";
        return result;
    }
    platform::FilePtr in = platform::OpenHostFile(path, "rb");
    if (!in) return {CompressStatus::CannotRead, errno, result.gzPath, ErrorReason(errno), {}};
    struct stat info;
    const std::uint32_t mtime = ::stat(path.c_str(), &info) == 0 ? static_cast<std::uint32_t>(info.st_mtime) : 0;

    AtomicOutput out;
    result.writeOutcome = out.Open(result.gzPath, AtomicOutput::Targets::RegularOnly);
    if (!result.writeOutcome.ok) {
        result.status = CompressStatus::CannotWrite;
        return result;
    }
    auto fail = [&](CompressStatus status, int error) {
        result.status = status;
        result.error = error;
        result.writeOutcome = out.Abandon(error);
        if (status == CompressStatus::CannotRead) result.reason = "the report could not be read back";
        return result;
    };
    GzipWriter writer(BaseName(path), mtime);
    if (const int rc = writer.Run(in.get(), out.file()); rc != 0)
        return rc < 0 ? fail(CompressStatus::CannotRead, EIO) : fail(CompressStatus::CannotWrite, rc);
    if (const int rc = platform::FlushHostFile(out.file()); rc != 0) return fail(CompressStatus::CannotWrite, rc);
    if (!SameContent(out.writingPath(), in.get())) return fail(CompressStatus::VerifyFailed, 0);
    result.writeOutcome = out.Commit();
    if (!result.writeOutcome.ok) {
        result.status = CompressStatus::CannotWrite;
        return result;
    }
    in.reset();
    // gzip keeps the original's modification time on the compressed file.
    const std::string& written = out.finalPath();
    std::error_code ignored;
    const auto when = std::filesystem::last_write_time(path, ignored);
    if (!ignored) std::filesystem::last_write_time(written, when, ignored);
    std::remove(path.c_str());
    return result;
}

}  // namespace kavlo::report
