// Fuzz target: the list decoding, column specification, sort types and
// command-line parsing that report contents and start parameters reach.
// Input layout: the first line is the column specification, the second the
// sort types, the rest the list text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "present/column_spec.h"
#include "present/list_rows.h"
#include "present/list_sort.h"
#include "present/timed_mode.h"
#include "present/tree_titles.h"

namespace {

std::string_view NextLine(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view rest = input;
    const std::string_view spec = NextLine(rest);
    const std::string_view sortLine = NextLine(rest);

    const auto columns = kavlo::ui::ParseColumnSpec(spec);
    for (const auto& column : columns) {
        if (column.widthChars < 0 || column.widthChars > kavlo::ui::kMaxColumnChars) __builtin_trap();
    }
    const auto types = kavlo::ui::ParseSortTypes(sortLine);
    for (bool fileList : {false, true}) {
        auto rows = kavlo::ui::DecodeRows(rest, fileList);
        if (rows.empty()) __builtin_trap();
        for (const auto& row : rows) {
            if (row.cells.empty() || row.image < 0) __builtin_trap();
        }
        for (std::size_t column = 0; column < 3; ++column) {
            kavlo::ui::SortRows(rows, column, kavlo::ui::SortTypeOf(types, column), column % 2 == 0);
        }
    }
    (void)kavlo::ui::EntryLine(spec, sortLine, rest);
    const auto parameters = kavlo::ui::SplitCommandLine(input);
    const auto settings = kavlo::ui::ParseTimedSettings(parameters, "C:\\");
    if (settings.timed && settings.error.empty() &&
        (settings.interval == 0 ||
         settings.interval > (settings.minutes ? kavlo::ui::kMaxIntervalMinutes : kavlo::ui::kMaxIntervalHours))) {
        __builtin_trap();
    }
    return 0;
}
