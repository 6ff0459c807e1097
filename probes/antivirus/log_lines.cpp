#include "probes/antivirus/log_lines.h"

#include <cstdint>
#include <utility>

namespace kavlo {
namespace {

using CodeTable = std::initializer_list<std::pair<std::uint32_t, std::string_view>>;

// A whole field of decimal digits as a number; nullopt for anything else.
std::optional<std::uint32_t> CodeOf(std::string_view field) {
    if (field.empty() || field.size() > 9) return std::nullopt;
    std::uint32_t value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    return value;
}

// The word for a coded field, or the field in angle brackets.
std::string CodedCell(std::string_view field, CodeTable table) {
    if (const auto code = CodeOf(field))
        for (const auto& [value, word] : table)
            if (value == *code) return std::string(word);
    return "<" + std::string(field) + ">";
}

const CodeTable kScanTypes = {{1, "Manual Scan"}, {2, "Realtime scan"},       {3, "Tamperwall"},   {6, "Console"},
                              {8, "System"},      {0x20065, "Realtime scan"}, {0x650065, "Client"}};
const CodeTable kActions = {{1, "Quarantine infected file"}, {2, "Rename infected file"},
                            {3, "Delete infected file"},     {4, "Leave alone (log only)"},
                            {5, "Clean virus from file"},    {6, "Clean or delete macros"}};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string TwoDigits(int value) { return (value < 10 ? "0" : "") + std::to_string(value); }

}  // namespace

std::string_view LogField(std::string_view line, std::size_t index) {
    std::size_t start = 0;
    for (std::size_t i = 0; i < index; ++i) {
        const std::size_t comma = line.find(',', start);
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    return line.substr(start, line.find(',', start) - start);
}

std::string LogDateText(std::string_view field) {
    if (field.size() != 12) return {};
    int digits[12];
    for (std::size_t i = 0; i < 12; ++i)
        if ((digits[i] = HexDigit(field[i])) < 0) return {};
    const auto pair = [&](int i) { return digits[i] * 16 + digits[i + 1]; };
    // Digit 2 is not part of the month.
    const int year = 1970 + pair(0), month = digits[3] + 1, day = pair(4), hour = pair(6), minute = pair(8),
              second = pair(10);
    if (month > 12 || day < 1 || day > 31 || hour > 23 || minute > 59 || second > 59) return {};
    const int hour12 = hour > 12 ? hour - 12 : hour;
    return TwoDigits(month) + "/" + TwoDigits(day) + "/" + std::to_string(year) + "  " + std::to_string(hour12) + ":" +
           TwoDigits(minute) + ":" + TwoDigits(second) + (hour < 12 ? " am" : " pm");
}

std::optional<std::string> VirusLogRow(std::string_view line) {
    if (CodeOf(LogField(line, 1)) != 5u) return std::nullopt;
    const std::string_view path = LogField(line, 7);
    const std::size_t slash = path.rfind('\\');
    const std::string fileName =
        slash == std::string_view::npos ? "<" + std::string(path) + ">" : std::string(path.substr(slash + 1));
    const std::string_view place = slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
    const std::string_view action = LogField(line, 10);
    const std::string current =
        CodedCell(action, {{1, "Quarantine"}, {3, "Deleted"}, {2, place}, {4, place}, {5, place}});
    std::string row = LogDateText(LogField(line, 0));
    for (const std::string& cell :
         {fileName, std::string(LogField(line, 6)), CodedCell(LogField(line, 11), {{1, "Boot Sector"}, {256, "File"}}),
          CodedCell(action, {{1, "Quarantined"}, {2, "Renamed"}, {3, "Deleted"}, {4, "Left alone"}, {5, "Cleaned"}}),
          std::string(LogField(line, 4)), std::string(LogField(line, 5)), std::string(place),
          CodedCell(action, {{1, "Infected"}, {2, "Infected"}, {3, "Deleted"}, {4, "Infected"}, {5, "Cleaned"}}),
          current, CodedCell(LogField(line, 8), kActions), CodedCell(LogField(line, 9), kActions),
          CodedCell(LogField(line, 3), kScanTypes)})
        row += "," + cell;
    return row + "\n";
}

std::optional<std::string> EventLogRow(std::string_view line) {
    const auto type = CodeOf(LogField(line, 1));
    static const CodeTable kEvents = {{7, "Definition Update"},
                                      {12, "Configuration changed"},
                                      {13, "Ostrell Antivirus Shutdown"},
                                      {14, "Ostrell Antivirus Startup"},
                                      {18, "Sent to Quarantine Server"}};
    std::string_view event;
    for (const auto& [value, word] : kEvents)
        if (type == value) event = word;
    if (event.empty()) return std::nullopt;
    std::string row = LogDateText(LogField(line, 0)) + "," + std::string(event);
    for (std::string_view cell : {LogField(line, 4), LogField(line, 5)}) row += "," + std::string(cell);
    row += "," + CodedCell(LogField(line, 3), kScanTypes) + "," + std::string(LogField(line, 13)) + "\n";
    return row;
}

}  // namespace kavlo
