#pragma once
// Reports on disk: opening a plain or gzip-compressed report without changing the
// file, and saving through a temporary file that replaces the target only after
// a complete, flushed write.

#include <cstdint>
#include <string>

#include "report/atomic_output.h"
#include "report/report_archive.h"

namespace kavlo::report {

struct OpenOptions {
    std::uint32_t codePage = 1252;                     ///< for wide strings
    std::uint64_t maxArchiveBytes = kMaxArchiveBytes;  ///< decompressed content larger than this is refused
    std::uint64_t maxNodes = kMaxReadNodes;            ///< records the report may hold
    std::uint64_t maxMemoryBytes = kMaxReadMemory;     ///< memory its records may take, estimated
};

/// Reads the report at `path` into `out` (emptied first only on success). Gzip
/// content (by its signature, whatever the name) is decompressed in memory; the
/// file is only ever opened for reading.
FileOutcome OpenReportFile(const std::string& path, ReportContents& out, const OpenOptions& options = {});

/// Writes the report through AtomicOutput: a temporary file beside `path`,
/// flushed and renamed over it (or a device or FIFO written in place). On failure
/// `path` is as it was and no temporary is left. The outcome's path is the file written.
FileOutcome SaveReportFile(const std::string& path, const ReportContents& report);

/// Compresses a saved report (a regular file) to `path` + ".gz" and removes
/// `path`; the message on failure names what could not be done. `gzPath`
/// receives the new name.
FileOutcome CompressSavedReport(const std::string& path, std::string* gzPath = nullptr);

}  // namespace kavlo::report
