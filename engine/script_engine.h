#pragma once
// The script engine: runs one title of a script line by line and dispatches
// each line to its command. One engine lives for one run.

#include <array>
#include <string_view>

#include "engine/app_context.h"
#include "engine/command_table.h"
#include "engine/records.h"
#include "engine/script_file.h"

namespace kavlo {

/// The argument of a command: the text after the first occurrence of its name
/// in the line as read, untrimmed (empty when the name does not occur).
std::string_view CommandArgument(std::string_view name, std::string_view line);

/// The rows a line runs, in the order the dispatcher calls them: group A and,
/// on the NT family, group A2 by the line's command word (up to its first ":"),
/// then group B by the start of the trimmed line. Null where a group matches nothing.
using DispatchedRows = std::array<const CommandRow*, 3>;
DispatchedRows MatchLine(const CommandTable& table, std::string_view trimmed, bool ntFamily);

class ScriptEngine {
public:
    ScriptEngine(AppContext& context, const CommandTable& table) : context_(context), table_(table) {}

    /// Runs a title whose runPending is 1; afterwards runPending is 0.
    void RunTitle(TitleRecord& title);
    /// As RunTitle, reading the body from a script already in memory.
    void RunTitle(TitleRecord& title, ScriptFile& file);
    /// Executes one line; `file` is positioned after it, `title` may be null.
    void Dispatch(ScriptFile& file, std::string_view line, TitleRecord* title);
    /// Runs one row's handler on a line as the dispatcher hands it over.
    void Call(const CommandRow& row, ScriptFile& file, std::string_view line, TitleRecord* title);
    /// Discards lines up to the end of the block the current line opened.
    void SkipBlock(ScriptFile& file, int adjustDepth);

    AppContext& context() { return context_; }
    platform::Machine& machine() { return context_.machine; }
    int depth() const { return depth_; }
    void LowerDepth() { --depth_; }
    const CommandTable& table() const { return table_; }

    /// The "[OS:" handler: skips the block unless the line names the current system.
    static void OsSection(CommandCall& call);

private:
    AppContext& context_;
    const CommandTable& table_;
    int depth_ = 1;
};

}  // namespace kavlo
