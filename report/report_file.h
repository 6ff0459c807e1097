#pragma once
// Reports on disk: opening a plain or gzip-compressed report without changing the
// file, and saving through a temporary file that replaces the target only after
// a complete, flushed write.

#include <cstdint>
#include <string>

#include "report/report_archive.h"

namespace kavlo::report {

/// Success, or the message that tells the user what went wrong.
struct FileOutcome {
    bool ok = true;
    std::string message;
};

struct OpenOptions {
    std::uint32_t codePage = 1252;                       ///< for wide strings
    std::uint64_t maxArchiveBytes = kMaxArchiveBytes;    ///< decompressed content larger than this is refused
};

/// Reads the report at `path` into `out` (emptied first only on success). Gzip
/// content (by its signature, whatever the name) is decompressed in memory; the
/// file is only ever opened for reading.
FileOutcome OpenReportFile(const std::string& path, ReportContents& out, const OpenOptions& options = {});

/// Writes the report to a temporary file beside `path`, flushes it to disk and
/// renames it over `path`. On failure `path` is as it was and no temporary is left.
FileOutcome SaveReportFile(const std::string& path, const ReportContents& report);

/// The message for a failed write of `path` with an errno value: disk full,
/// read-only or in use, or the general save failure.
std::string SaveFailureMessage(int error, const std::string& path);

/// Compresses a saved report to `path` + ".gz" and removes `path`; the message
/// on failure names what could not be done. `gzPath` receives the new name.
FileOutcome CompressSavedReport(const std::string& path, std::string* gzPath = nullptr);

}  // namespace kavlo::report
