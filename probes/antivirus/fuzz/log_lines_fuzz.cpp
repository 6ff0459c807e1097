// Decodes fuzzed log lines as virus and event records and checks what must
// hold whatever the line is: fields never span a comma, the date cell is empty
// or of the "MM/DD/YYYY  h:mm:ss am" shape, and a row is one line ended by "\n".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "probes/antivirus/log_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    for (std::size_t index : {0u, 1u, 7u, 13u, 40u})
        if (kavlo::LogField(line, index).find(',') != std::string_view::npos) std::abort();

    const std::string date = kavlo::LogDateText(kavlo::LogField(line, 0));
    if (!date.empty() && (date.size() < 22 || date[2] != '/' || date[5] != '/' || date.compare(10, 2, "  ") != 0))
        std::abort();

    for (const auto& row : {kavlo::VirusLogRow(line), kavlo::EventLogRow(line)}) {
        if (!row) continue;
        if (row->empty() || row->back() != '\n') std::abort();
        // A line without line ends gives a row without inner line ends.
        if (line.find('\n') == std::string_view::npos && row->find('\n') != row->size() - 1) std::abort();
    }
    return 0;
}
