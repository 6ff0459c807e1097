#pragma once
// A whole report archive: header, navigation root, information page and script
// catalog, written and read in that order.

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/records.h"
#include "report/archive_format.h"
#include "report/byte_stream.h"
#include "report/read_budget.h"

namespace kavlo::report {

/// Everything a report file stores.
struct ReportContents {
    /// As read from the header (0 for legacy files); the writer always writes its own.
    std::uint32_t formatVersion = kFormatVersion;
    std::uint32_t buildNumber = kBuildNumber;
    bool legacy = false;  ///< read from a file without header
    NavNode navigation;
    TitleRecord infoPage;
    std::vector<std::unique_ptr<ScriptRecord>> catalog;
};

enum class WriteStatus {
    Ok,
    SinkFailed,   ///< the sink refused bytes (see the sink for why)
    NotWritable,  ///< a value the format cannot hold (over 4 GiB, nesting too deep, too many objects)
};

/// Writes the archive with header (format version 306, build 35); flushes the writer.
WriteStatus WriteReport(const ReportContents& report, ByteSink& sink);

enum class ReadStatus {
    Ok,
    FormatError,  ///< malformed or hostile content
    ReadError,    ///< the source itself failed
};

struct ReadOptions {
    std::uint32_t codePage = 1252;                  ///< code page that wide strings are converted to
    std::uint64_t maxNodes = kMaxReadNodes;         ///< records a report may hold (see read_budget.h)
    std::uint64_t maxMemoryBytes = kMaxReadMemory;  ///< memory its records may take, estimated
};

/// True when the first bytes mark a legacy file without header (third byte non-zero).
/// Nullopt when there are fewer than three bytes.
std::optional<bool> IsLegacyStart(const char* firstBytes, std::size_t size);

/// Reads a whole archive; the legacy layout is detected from the third byte. On
/// failure `out` is left untouched. Trailing bytes after the catalog are an error.
ReadStatus ReadReport(ByteSource& source, ReportContents& out, const ReadOptions& options = {});

}  // namespace kavlo::report
