#include "probes/system/event_rows.h"

namespace kavlo {
namespace {

// A run's repeats are counted from here on instead of listed.
constexpr std::uint32_t kListedRepeats = 3;

}  // namespace

EventColumn ColumnOfKey(std::string_view key) {
    static constexpr std::pair<std::string_view, EventColumn> kWords[] = {
        {"Type", EventColumn::Type},     {"Date", EventColumn::Date},         {"Time", EventColumn::Time},
        {"Source", EventColumn::Source}, {"Category", EventColumn::Category}, {"Event", EventColumn::Event},
        {"User", EventColumn::User},     {"Computer", EventColumn::Computer}, {"Description", EventColumn::Description},
    };
    for (const auto& [word, column] : kWords)
        if (key.find(word) != std::string_view::npos) return column;
    return EventColumn::None;
}

std::string_view EventTypeWord(std::uint16_t type) {
    switch (type) {
        case 1: return "ERROR";
        case 2: return "Warning";
        case 4: return "Information";
        case 8: return "Audit Success";
        case 16: return "Audit Failure";
        default: return {};
    }
}

RunFolder::Step RunFolder::Next(std::uint32_t eventId) {
    Step step;
    if (!started_) {
        // The first record counts as a repeat of itself.
        started_ = true;
        runId_ = eventId;
    }
    if (eventId == runId_) {
        step.list = counter_ < kListedRepeats;
        ++counter_;
        return step;
    }
    // A run with skipped records gets its summary before the next record; the
    // counter then starts afresh for the record after this one.
    if (counter_ > kListedRepeats) {
        step.summaryBefore = counter_;
        counter_ = 0;
        return step;
    }
    runId_ = eventId;
    counter_ = 0;
    return step;
}

std::optional<std::uint32_t> RunFolder::Finish() const {
    if (counter_ > kListedRepeats) return counter_;
    return std::nullopt;
}

std::string SummaryRow(std::uint32_t count, std::size_t keyCount) {
    std::string row;
    for (std::size_t i = 0; i < keyCount; ++i) {
        if (i == 0) row += "DUPLICATES";
        if (i == 1) row += std::to_string(count);
        row += ',';
    }
    return row + "\n";
}

std::string RecordRow(const std::vector<EventColumn>& columns, const std::function<std::string(EventColumn)>& value) {
    std::string row;
    bool first = true;
    for (EventColumn column : columns) {
        if (column == EventColumn::None) continue;
        if (!first) row += ',';
        first = false;
        row += value(column);
    }
    return row + "\n";
}

std::string InsertStrings(std::string_view message, const std::vector<std::string>& strings) {
    std::string out;
    out.reserve(message.size());
    std::size_t i = 0;
    while (i < message.size()) {
        if (message[i] != '%' || strings.empty()) {
            out.push_back(message[i++]);
            continue;
        }
        // Inserts are numbered 1 to 99, as FormatMessage numbers them.
        std::size_t digits = 0;
        std::size_t number = 0;
        while (digits < 2 && i + 1 + digits < message.size() && message[i + 1 + digits] >= '0' &&
               message[i + 1 + digits] <= '9') {
            number = number * 10 + static_cast<std::size_t>(message[i + 1 + digits] - '0');
            ++digits;
        }
        if (number < 1 || number > strings.size()) {
            out.push_back(message[i++]);
            continue;
        }
        const std::size_t used = digits, chosen = number;
        out += strings[chosen - 1];
        i += 1 + used;
    }
    return out;
}

std::string StripControlBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != '\n' && c != '\r' && c != '\f' && c != '\t') out.push_back(c);
    return out;
}

}  // namespace kavlo
