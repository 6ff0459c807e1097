#pragma once
// House rules of the bundled scripts, checked line by line: every line of a
// title body is a command of the table (or a line of a mapping or video block),
// braces stand only where the engine counts them as intended, mapping blocks
// cannot be shadowed, and IF blocks use the operators whose meaning is plain.

#include <string>
#include <string_view>
#include <vector>

#include "engine/command_table.h"

namespace kavlo::scripts_test {

struct LintProblem {
    std::string file;
    int line = 0;  ///< 1-based
    std::string what;
};

/// The row a trimmed line dispatches to: the first in table order whose name
/// starts the line; null when none does.
const CommandRow* CommandOfLine(std::string_view trimmed, const CommandTable& table);

/// Problems of one script file.
std::vector<LintProblem> LintScript(const std::string& file, const std::vector<std::string>& lines,
                                    const CommandTable& table);

/// Problems of a catalog configuration file.
std::vector<LintProblem> LintConfiguration(const std::string& file, const std::vector<std::string>& lines,
                                           const CommandTable& table);

std::string Describe(const std::vector<LintProblem>& problems);

}  // namespace kavlo::scripts_test
