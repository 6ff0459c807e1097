#pragma once
// The event-log record layout (EVENTLOGRECORD): a 56-byte fixed part, the
// source and computer names, insertion strings, and the record length repeated
// at its end. The reader checks every length and offset against the record, so
// a corrupt buffer gives the records before the damage and nothing invented.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kavlo::platform {

inline constexpr std::size_t kEventRecordFixedBytes = 56;
inline constexpr std::uint32_t kEventRecordSignature = 0x654C664C;  // "LfLe"

/// One record with its strings in the ANSI code page.
struct EventRecord {
    std::uint32_t recordNumber = 0;
    std::uint32_t timeGenerated = 0;  ///< seconds since 1970, UTC
    std::uint32_t timeWritten = 0;
    std::uint32_t eventId = 0;
    std::uint16_t eventType = 0;
    std::uint16_t category = 0;
    std::string source;
    std::string computer;
    std::vector<std::string> strings;
};

/// How the strings of a record are stored: ANSI as ReadEventLogA gives them,
/// UTF-16LE as the log files hold them.
enum class EventTextForm { Ansi, Utf16 };

struct EventRecordParse {
    std::vector<EventRecord> records;
    bool complete = true;  ///< false when a malformed record ended the walk
};

/// Consecutive records of a read buffer (ANSI layout).
EventRecordParse ParseEventRecords(std::string_view bytes, std::uint32_t codePage = 1252);

/// One whole record; false when it is malformed. Utf16 strings are converted to
/// the code page.
bool ParseEventRecord(std::string_view record, EventTextForm form, std::uint32_t codePage, EventRecord& out);

/// The record in the layout ReadEventLogA gives (Ansi) or a log file holds
/// (Utf16, strings taken as code page 1252), without SID and data.
std::string EncodeEventRecord(const EventRecord& record, EventTextForm form = EventTextForm::Ansi);

}  // namespace kavlo::platform
