#pragma once
// The script checker behind "kavlo lint": every line of a title body is a
// command as the dispatcher matches it (or a line of a mapping or video block),
// braces stand only where the engine counts them as intended, titles are listed
// and have bodies, list kinds have their header lines, mapping blocks cannot be
// shadowed, and IF blocks use the operators whose meaning is plain.

#include <string>
#include <string_view>
#include <vector>

#include "engine/command_table.h"

namespace kavlo {

struct LintProblem {
    std::string file;
    int line = 0;  ///< 1-based
    std::string what;
};

/// The row a trimmed line runs on an NT-family system, as the dispatcher matches
/// it (group B by the line's start, groups A and A2 by its command word); null
/// when the line runs no command.
const CommandRow* CommandOfLine(std::string_view trimmed, const CommandTable& table);

/// Problems of one script file.
std::vector<LintProblem> LintScript(const std::string& file, const std::vector<std::string>& lines,
                                    const CommandTable& table);

/// Problems of a catalog configuration file.
std::vector<LintProblem> LintConfiguration(const std::string& file, const std::vector<std::string>& lines,
                                           const CommandTable& table);

/// One "file:line: problem" line each.
std::string Describe(const std::vector<LintProblem>& problems);

}  // namespace kavlo
