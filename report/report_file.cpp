#include "report/report_file.h"

#include <cerrno>

#include "platform/host_file.h"
#include "report/gzip_file.h"
#include "platform/host_file.h"
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

FileOutcome Failure(std::string message) { return {false, std::move(message), {}, {}}; }

FileOutcome ReadFailure(ReadStatus status) {
    return Failure(std::string(status == ReadStatus::ReadError ? kFailedToOpenDocument : kUnexpectedFileFormat));
}

}  // namespace

FileOutcome OpenReportFile(const std::string& path, ReportContents& out, const OpenOptions& options) {
    // A folder opens for reading on some systems and a FIFO would wait for a writer.
    switch (platform::ResolveHostTarget(path).kind) {
        case platform::HostFileKind::Directory:
            return {false, std::string(kFailedToOpenDocument), "'" + path + "' is a folder", {}};
        case platform::HostFileKind::Stream:
        case platform::HostFileKind::Unusable:
            return {false, std::string(kFailedToOpenDocument), "'" + path + "' is not a regular file", {}};
        case platform::HostFileKind::Missing:
        case platform::HostFileKind::Regular: break;
    }
    platform::FilePtr file = platform::OpenHostFile(path, "rb");
    if (!file) {
        if (errno == ENOENT || errno == ENOTDIR) return Failure(FileNotFoundMessage(path));
        return Failure(std::string(kFailedToOpenDocument));
    }
    char magic[2] = {0, 0};
    const std::size_t got = std::fread(magic, 1, sizeof magic, file.get());
    if (std::ferror(file.get()) || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return Failure(std::string(kFailedToOpenDocument));

    const ReadOptions readOptions{options.codePage, options.maxNodes, options.maxMemoryBytes};
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
    AtomicOutput output;
    if (FileOutcome opened = output.Open(path, AtomicOutput::Targets::StreamsToo); !opened.ok) return opened;
    FileSink sink(output.file());
    switch (WriteReport(report, sink)) {
        case WriteStatus::Ok: break;
        case WriteStatus::SinkFailed: return output.Abandon(sink.error());
        case WriteStatus::NotWritable: {
            FileOutcome failed = output.Abandon(EINVAL);
            failed.reason = "the report holds more than a report file can store";
            return failed;
        }
    }
    return output.Commit();
}

FileOutcome CompressSavedReport(const std::string& path, std::string* gzPath) {
    CompressResult result = CompressReportFile(path);
    if (gzPath) *gzPath = result.gzPath;
    switch (result.status) {
        case CompressStatus::Ok: return {true, {}, {}, result.gzPath};
        case CompressStatus::CannotRead:
            if (result.error == ENOENT) return Failure(FileNotFoundMessage(path));
            return {false, std::string(kFailedToSaveDocument), std::move(result.reason), {}};
        case CompressStatus::CannotWrite: return std::move(result.writeOutcome);
        case CompressStatus::VerifyFailed:
            return {
                false, std::string(kFailedToSaveDocument), "the compressed file did not read back as the report", {}};
    }
    return Failure(std::string(kFailedToSaveDocument));
}

}  // namespace kavlo::report
