// Fuzz target: the .evt file reader and the event-record parser. The input is
// read as a whole log file, each record found is parsed in its UTF-16 form,
// and the input is also parsed as a read buffer of ANSI records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/event_record.h"
#include "platform/evt_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const kavlo::platform::EvtFileParse file = kavlo::platform::ReadEvtFile(bytes);
    for (const kavlo::platform::EvtRecordSpan& span : file.records) {
        kavlo::platform::EventRecord parsed;
        const std::string record = kavlo::platform::EvtRecordBytes(bytes, span);
        if (kavlo::platform::ParseEventRecord(record, kavlo::platform::EventTextForm::Utf16, 1252, parsed))
            (void)kavlo::platform::EncodeEventRecord(parsed);
    }
    (void)kavlo::platform::ParseEventRecords(bytes, 1252);
    return 0;
}
