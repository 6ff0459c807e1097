#pragma once
// The rows "CEvtLog:" writes: column keys, the value of each column, and the
// folding of long runs of the same event into one summary row.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/event_record.h"

namespace kavlo {

enum class EventColumn { Type, Date, Time, Source, Category, Event, User, Computer, Description, None };

/// The column a key selects: the first of the words Type, Date, Time, Source,
/// Category, Event, User, Computer, Description that the key contains.
EventColumn ColumnOfKey(std::string_view key);

/// "ERROR", "Warning", "Information", "Audit Success", "Audit Failure"; empty for other types.
std::string_view EventTypeWord(std::uint16_t type);

/// Decides, record by record in the order read, which records are listed and
/// when a summary row of skipped repeats comes first. The first three records
/// of the first run and the first four of a later run are listed; the rest of
/// the run is counted.
class RunFolder {
public:
    struct Step {
        bool list = true;
        std::optional<std::uint32_t> summaryBefore;  ///< the count of the run that ended
    };
    Step Next(std::uint32_t eventId);
    /// The summary owed when the listing ends inside a run with skipped records.
    std::optional<std::uint32_t> Finish() const;

private:
    bool started_ = false;
    std::uint32_t runId_ = 0;
    std::uint32_t counter_ = 0;
};

/// "DUPLICATES," + count + "," + one "," for each further key, and "\n".
std::string SummaryRow(std::uint32_t count, std::size_t keyCount);

/// One row: the values of the known columns joined by ",", ended by "\n".
/// `value` gives a column's value for the record.
std::string RecordRow(const std::vector<EventColumn>& columns, const std::function<std::string(EventColumn)>& value);

/// Puts the insertion strings into a message in one pass: "%" and a number of
/// one or two digits naming a string is replaced by it, so "%10" is string 10,
/// a number past the strings stays as written and inserted text is never rescanned.
std::string InsertStrings(std::string_view message, const std::vector<std::string>& strings);

/// Removes line feeds, carriage returns, form feeds and tabs.
std::string StripControlBreaks(std::string_view text);

}  // namespace kavlo
