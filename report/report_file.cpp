#include "report/report_file.h"

#include <cerrno>

#include "platform/host_file.h"
#include "report/gzip_file.h"
#include "report/host_files.h"
#include "report/report_messages.h"

namespace kavlo::report {

std::string FileNotFoundMessage(std::string_view path) {
    std::string text(path);
    text += "\nCannot find this file.\nPlease verify that the correct path and file name are given.";
    return text;
}

std::string ReadOnlyMessage(std::string_view path) {
    std::string text = "Unable to write to ";
    text += path;
    text += ", it is read-only or opened by someone else.";
    return text;
}

namespace {

FileOutcome Failure(std::string message) { return {false, std::move(message)}; }

FileOutcome WriteFailure(int error, const std::string& path) { return Failure(SaveFailureMessage(error, path)); }

FileOutcome ReadFailure(ReadStatus status) {
    return Failure(std::string(status == ReadStatus::ReadError ? kFailedToOpenDocument : kUnexpectedFileFormat));
}

}  // namespace

std::string SaveFailureMessage(int error, const std::string& path) {
    switch (error) {
        case ENOSPC:
#ifdef EDQUOT
        case EDQUOT:
#endif
            return std::string(kDiskFull);
        case EACCES:
        case EPERM:
        case EROFS:
        case EBUSY:
#ifdef ETXTBSY
        case ETXTBSY:
#endif
            return ReadOnlyMessage(path);
        default:
            return std::string(kFailedToSaveDocument);
    }
}

FileOutcome OpenReportFile(const std::string& path, ReportContents& out, const OpenOptions& options) {
    FilePtr file = OpenHostFile(path, "rb");
    if (!file) {
        if (errno == ENOENT || errno == ENOTDIR) return Failure(FileNotFoundMessage(path));
        return Failure(std::string(kFailedToOpenDocument));
    }
    char magic[2] = {0, 0};
    const std::size_t got = std::fread(magic, 1, sizeof magic, file.get());
    if (std::ferror(file.get()) || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return Failure(std::string(kFailedToOpenDocument));

    const ReadOptions readOptions{options.codePage};
    if (LooksLikeGzip(magic, got)) {
        GzipFileSource source(file.get(), options.maxArchiveBytes);
        switch (source.problem()) {
            case GzipFileSource::Problem::None: {
                const ReadStatus status = ReadReport(source, out, readOptions);
                return status == ReadStatus::Ok ? FileOutcome{} : ReadFailure(status);
            }
            case GzipFileSource::Problem::ReadError: return Failure(std::string(kFailedToOpenDocument));
            case GzipFileSource::Problem::Damaged:
            case GzipFileSource::Problem::TooLarge: return Failure(std::string(kUnexpectedFileFormat));
        }
    }
    FileSource source(file.get());
    if (source.Size() > options.maxArchiveBytes) return Failure(std::string(kUnexpectedFileFormat));
    const ReadStatus status = ReadReport(source, out, readOptions);
    if (status != ReadStatus::Ok) return ReadFailure(status);
    return {};
}

FileOutcome SaveReportFile(const std::string& path, const ReportContents& report) {
    // An existing target that cannot be opened for update is read-only or in use;
    // renaming over it would succeed on some systems, but the user asked not to.
    if (HostFileExists(path)) {
        FilePtr probe = OpenHostFile(path, "r+b");
        if (!probe) return WriteFailure(errno == ENOENT ? EIO : errno, path);
    }
    const std::string temp = TempPathBeside(path);
    FilePtr file = OpenHostFile(temp, "wb");
    if (!file) return WriteFailure(errno, path);
    auto fail = [&](int error) {
        file.reset();
        std::remove(temp.c_str());
        return WriteFailure(error, path);
    };
    FileSink sink(file.get());
    switch (WriteReport(report, sink)) {
        case WriteStatus::Ok: break;
        case WriteStatus::SinkFailed: return fail(sink.error());
        case WriteStatus::NotWritable: return fail(EINVAL);
    }
    if (const int rc = platform::FlushHostFile(file.get()); rc != 0) return fail(rc);
    if (const int rc = CloseHostFile(file); rc != 0) return fail(rc);
    if (const int rc = platform::ReplaceHostFile(temp, path); rc != 0) return fail(rc);
    return {};
}

FileOutcome CompressSavedReport(const std::string& path, std::string* gzPath) {
    const CompressResult result = CompressReportFile(path);
    if (gzPath) *gzPath = result.gzPath;
    switch (result.status) {
        case CompressStatus::Ok: return {};
        case CompressStatus::CannotRead:
            if (result.error == ENOENT) return Failure(FileNotFoundMessage(path));
            return Failure(std::string(kFailedToSaveDocument));
        case CompressStatus::CannotWrite: return WriteFailure(result.error, result.gzPath);
        case CompressStatus::VerifyFailed: return Failure(std::string(kFailedToSaveDocument));
    }
    return Failure(std::string(kFailedToSaveDocument));
}

}  // namespace kavlo::report
