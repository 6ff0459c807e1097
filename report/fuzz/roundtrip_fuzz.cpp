// Fuzz target: any bytes as a report archive. The reader must refuse or accept
// without crashing, leaking or allocating more than the input can describe, and
// whatever it accepts round-trips: reading the bytes, writing the records,
// reading that and writing again gives the same bytes twice (the first write
// may differ from the input: non-minimal prefixes, back-references and legacy
// layouts are normalised).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "report/report_archive.h"

namespace {

using namespace kavlo::report;

std::string WriteOrDie(const ReportContents& report) {
    StringSink sink;
    if (WriteReport(report, sink) != WriteStatus::Ok) std::abort();
    return std::move(sink.bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MemorySource input(std::string_view(reinterpret_cast<const char*>(data), size));
    ReportContents first;
    if (ReadReport(input, first) != ReadStatus::Ok) return 0;
    const std::string written = WriteOrDie(first);

    MemorySource again(written);
    ReportContents second;
    if (ReadReport(again, second) != ReadStatus::Ok) std::abort();
    if (second.formatVersion != kFormatVersion || second.buildNumber != kBuildNumber || second.legacy) std::abort();
    if (WriteOrDie(second) != written) std::abort();
    return 0;
}
