// Fuzz target: any bytes as a report archive. The reader must refuse or accept
// without crashing, leaking or allocating more than the input can describe, and
// whatever it accepts must be writable again.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "report/report_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kavlo::report;
    MemorySource source(std::string_view(reinterpret_cast<const char*>(data), size));
    ReportContents report;
    if (ReadReport(source, report) != ReadStatus::Ok) return 0;
    StringSink sink;
    if (WriteReport(report, sink) != WriteStatus::Ok) std::abort();
    return 0;
}
