// "CEvtLog:": the newest records of one event log as list rows.
#include <string>
#include <string_view>
#include <vector>

#include "engine/records.h"
#include "engine/script_engine.h"
#include "probes/system/event_messages.h"
#include "probes/system/event_rows.h"
#include "probes/system/system_commands.h"

namespace kavlo {
namespace {

// Each read asks for this much; a larger record still comes whole.
constexpr std::size_t kReadBytes = 600000;
// The listing stops after this many records, newest first, so that a huge log
// gives a report of bounded size.
constexpr std::size_t kMaxRecords = 5000;

std::string_view Trim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::vector<std::string_view> SplitKeys(std::string_view list) {
    std::vector<std::string_view> keys;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(',', start), list.size());
        keys.push_back(Trim(list.substr(start, end - start)));
        start = end + 1;
    }
    return keys;
}

class EventListing {
public:
    EventListing(AppContext& context, std::vector<std::string_view> keys)
        : context_(context), keyCount_(keys.size()), messages_(context) {
        for (std::string_view key : keys) columns_.push_back(ColumnOfKey(key));
    }

    void Add(const platform::EventRecord& record, std::string& out) {
        const RunFolder::Step step = folder_.Next(record.eventId);
        if (step.summaryBefore) out += SummaryRow(*step.summaryBefore, keyCount_);
        if (!step.list) return;
        out += RecordRow(columns_, [&](EventColumn column) { return Value(record, column); });
    }
    void Finish(std::string& out) {
        if (auto count = folder_.Finish()) out += SummaryRow(*count, keyCount_);
    }

private:
    std::string Value(const platform::EventRecord& record, EventColumn column) {
        platform::Machine& machine = context_.machine;
        switch (column) {
            case EventColumn::Type: return std::string(EventTypeWord(record.eventType));
            case EventColumn::Date:
            case EventColumn::Time: {
                // A time the system cannot convert or format shows as an empty cell.
                const auto local = machine.LocalTimeOfUnixSeconds(record.timeGenerated);
                if (!local.ok()) return {};
                const auto text =
                    column == EventColumn::Date ? machine.LocaleDateText(*local) : machine.LocaleTimeText(*local);
                return text.ok() ? *text : std::string();
            }
            case EventColumn::Source: return record.source;
            case EventColumn::Category: return " ";
            case EventColumn::Event: return std::to_string(record.eventId & 0xFFFF);
            case EventColumn::User: return " ";
            case EventColumn::Computer: return record.computer;
            case EventColumn::Description: return messages_.Describe(record);
            case EventColumn::None: break;
        }
        return {};
    }

    AppContext& context_;
    std::size_t keyCount_;
    std::vector<EventColumn> columns_;
    RunFolder folder_;
    EventMessages messages_;
};

}  // namespace

void CEvtLogCommand(CommandCall& call) {
    AppContext& context = call.engine.context();
    if (!call.title || !context.IsNtFamily()) return;
    const std::string_view argument = call.argument;
    const std::size_t comma = argument.find(',');
    const std::string logName(Trim(argument.substr(0, comma)));
    std::vector<std::string_view> keys;
    if (comma != std::string_view::npos) keys = SplitKeys(argument.substr(comma + 1));

    auto log = context.machine.OpenEventLogByName(logName);
    if (!log) return;
    EventListing listing(context, std::move(keys));
    std::string rows;
    std::size_t listed = 0;
    while (listed < kMaxRecords) {
        auto bytes = (*log)->ReadNewestFirst(kReadBytes);
        if (!bytes) {
            // The end of the log ends the listing; an empty log lists nothing.
            if (bytes.error() != err::kHandleEof) rows += context.machine.ErrorText(bytes.error());
            break;
        }
        platform::EventRecordParse parsed = platform::ParseEventRecords(*bytes, context.machine.AnsiCodePage());
        for (const platform::EventRecord& record : parsed.records) {
            if (listed == kMaxRecords) break;
            listing.Add(record, rows);
            ++listed;
        }
        if (!parsed.complete) {
            rows += context.machine.ErrorText(err::kEventLogFileCorrupt);
            break;
        }
    }
    listing.Finish(rows);
    call.title->AppendText(rows);
}

}  // namespace kavlo
