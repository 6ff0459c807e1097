#pragma once
// A report named on the command line, as the shell passes it when a report
// file is opened with the program.

#include <string>
#include <string_view>

namespace kavlo::ui {

/// The report path among the program's parameters: the first parameter, or run
/// of parameters joined by blanks (an unquoted path with blanks), that ends in
/// ".IFO" or ".IFO.gz" (any case, quotes removed); empty for none.
std::string ReportPathArgument(std::string_view commandLine);

}  // namespace kavlo::ui
