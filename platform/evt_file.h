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

struct EvtFileParse {
    std::vector<std::string> records;  ///< whole records (UTF-16 layout), oldest first
    std::string error;                 ///< empty when the file was read to its end record
};

/// Reads every record of an .evt image. Records up to the first damaged one are
/// kept when the file is damaged later on.
EvtFileParse ReadEvtFile(std::string_view file);

}  // namespace kavlo::platform
