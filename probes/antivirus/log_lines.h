#pragma once
// The antivirus product's log records: comma-separated fields, a hexadecimal
// date in field 0 and the record type in field 1. Lines come from the product's
// files and are untrusted: every decoder reads only within the line.

#include <optional>
#include <string>
#include <string_view>

namespace kavlo {

/// Field `index` of a line (0 is the first); an index beyond the last field
/// gives the last field, as stored reports show it.
std::string_view LogField(std::string_view line, std::size_t index);

/// The date field shown as "11/14/2001  1:42:05 pm"; empty unless the field is
/// twelve upper-case hexadecimal digits holding a valid month, day and time.
std::string LogDateText(std::string_view field);

/// The virus-log row (13 cells, "\n" ended) of a record of type 5; nullopt for other lines.
std::optional<std::string> VirusLogRow(std::string_view line);
/// The event-log row (6 cells, "\n" ended) of a record of type 7, 12, 13, 14 or 18; nullopt otherwise.
std::optional<std::string> EventLogRow(std::string_view line);

}  // namespace kavlo
