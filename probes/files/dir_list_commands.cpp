// "TDirList:" and "TEDirList:": a directory tree as nodes of the title's result tree.

#include <string>
#include <tuple>
#include <vector>

#include "engine/path_tokens.h"
#include "probes/files/command_args.h"
#include "probes/files/file_info.h"
#include "probes/files/file_commands.h"
#include "probes/files/file_paths.h"

namespace kavlo {

namespace {

constexpr std::string_view kDirectoryMarker = "[D]  ";

struct Frame {
    std::vector<platform::FindEntry> entries;
    std::size_t next = 0;
    ResultNode* node = nullptr;
};

std::vector<platform::FindEntry> Listing(platform::Machine& machine, std::string_view directory) {
    auto entries = machine.FindFiles(JoinPath(directory, "*.*"));
    if (!entries.ok()) return {};
    return std::move(entries).value();
}

// Files and subdirectories appear in the order the file system gives them,
// each subdirectory listed right where it occurs. The walk keeps its own stack
// (one frame per level, bounded by kMaxWalkDepth) instead of recursing.
void ListTree(AppContext& context, std::string_view line, std::string_view name, std::string_view separator,
              TitleRecord& title) {
    std::string_view directory = CommandArgument(name, line);
    std::string_view keys;
    if (auto parts = SplitAtComma(directory)) std::tie(directory, keys) = *parts;
    const std::string top = ExpandPathToken(context, directory);

    ResultNode& topNode = title.Root().AddChild(std::string(kDirectoryMarker) + top);
    std::vector<Frame> stack;
    stack.push_back({Listing(context.machine, top), 0, &topNode});

    FileInfo record;
    std::string row;
    while (!stack.empty()) {
        Frame& frame = stack.back();
        if (frame.next == frame.entries.size()) {
            stack.pop_back();
            continue;
        }
        const platform::FindEntry& entry = frame.entries[frame.next++];
        if (IsDotEntry(entry)) continue;
        if (IsEnterableDirectory(entry)) {
            ResultNode& child = frame.node->AddChild(std::string(kDirectoryMarker) + entry.name);
            if (static_cast<int>(stack.size()) <= kMaxWalkDepth) {
                auto entries = Listing(context.machine, entry.fullPath);
                stack.push_back({std::move(entries), 0, &child});  // `frame` is not used after this
            }
            continue;
        }
        // Files, and reparse points, which are shown as entries and never entered.
        record.Clear();
        record.Gather(context, entry.fullPath, PathMode::Unchanged);
        row.clear();
        record.BuildRow(keys, separator, row);
        std::erase(row, '\n');
        frame.node->AddChild(row);
    }
}

}  // namespace

void TDirListCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    const std::string_view name = call.name;
    const std::string_view line = call.line;
    TitleRecord* title = call.title;
    if (title) ListTree(engine.context(), line, name, "       ", *title);
}

void TEDirListCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    const std::string_view name = call.name;
    const std::string_view line = call.line;
    TitleRecord* title = call.title;
    if (title) ListTree(engine.context(), line, name, ",", *title);
}

}  // namespace kavlo
