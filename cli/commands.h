#pragma once
// Subcommands of the command-line program. Each takes the arguments after its
// name and returns the process exit status; errors go to stderr.

#include <string>
#include <vector>

namespace kavlo::cli {

using Args = std::vector<std::string>;

int RunCommand(const Args& args);     ///< kavlo run SCRIPT.dbg ...
int GatherCommand(const Args& args);  ///< kavlo gather ...
int ShowCommand(const Args& args);    ///< kavlo show FILE ...
int ExportCommand(const Args& args);  ///< kavlo export FILE ...
int LintCommand(const Args& args);    ///< kavlo lint SCRIPT.dbg|FOLDER ...

}  // namespace kavlo::cli
