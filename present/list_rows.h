#pragma once
// Decoding of a list title's text into the rows and cells the list views show.

#include <string>
#include <string_view>
#include <vector>

namespace kavlo::ui {

/// One row of a list view: the cells to show and, for file lists, the image.
struct ListRow {
    int image = 0;                   ///< small-image index ("filelist" rows only)
    std::vector<std::string> cells;  ///< at least one cell; an empty cell is " "
    std::size_t number = 0;          ///< position of the row in the text (item data)
};

/// Splits one line at "," into cells, showing an empty cell as a single blank.
std::vector<std::string> SplitCells(std::string_view line);

/// Decodes one line; for file lists the first cell is the image index.
ListRow DecodeRow(std::string_view line, bool fileList, std::size_t number);

/// Every row of a list title's text: each line ended by "\n", in order. A final
/// line without "\n" is shown as a row too, so no gathered text is hidden; an
/// empty text gives one row with a blank first cell.
std::vector<ListRow> DecodeRows(std::string_view text, bool fileList);

/// The integer value that the C runtime's atoi gives (leading blanks, a sign,
/// the leading digits; saturated instead of overflowing).
long long LeadingInteger(std::string_view text);

}  // namespace kavlo::ui
