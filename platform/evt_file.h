#pragma once
// The classic NT event-log file (.evt): a 48-byte "LfLe" header, records in a
// circular data area that wraps from the end of the file to just after the
// header, and an end-of-file record after the newest one. A header marked dirty
// (the log was not closed) has stale offsets; the end-of-file record holds the
// true ones then.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo::platform {

/// Where one record lies in the file; it may wrap past the end of the file.
struct EvtRecordSpan {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

struct EvtFileParse {
    std::vector<EvtRecordSpan> records;  ///< oldest first
    std::string error;                   ///< empty when the file was read to its end record
};

/// Finds every record of an .evt image. Records up to the first damaged one are
/// kept when the file is damaged later on.
EvtFileParse ReadEvtFile(std::string_view file);

/// The bytes of a record (UTF-16 layout) that ReadEvtFile found in the same file.
std::string EvtRecordBytes(std::string_view file, const EvtRecordSpan& record);

}  // namespace kavlo::platform
