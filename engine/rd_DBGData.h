#pragma once
// The script engine: runs one title of a script line by line and dispatches
// each line to its command. One engine lives for one run.

#include <string_view>

#include "engine/app_context.h"
#include "engine/command_table.h"
#include "engine/records.h"
#include "engine/script_file.h"

namespace kavlo {

class rd_DBGData {
public:
    rd_DBGData(AppContext& context, const CommandTable& table = StandardCommandTable())
        : context_(context), table_(table) {}

    /// Runs a title whose runPending is 1; afterwards runPending is 0.
    void RunTitle(data_DBGTitle& title);
    /// Executes one line; `file` is positioned after it, `title` may be null.
    void Dispatch(ScriptFile& file, std::string_view line, data_DBGTitle* title);
    /// Discards lines up to the end of the block the current line opened.
    void SkipBlock(ScriptFile& file, int adjustDepth);

    AppContext& context() { return context_; }
    platform::Machine& machine() { return context_.machine; }
    int depth() const { return depth_; }
    void LowerDepth() { --depth_; }

private:
    AppContext& context_;
    const CommandTable& table_;
    int depth_ = 1;
};

}  // namespace kavlo
