// "FileReadText:", "FileReadTextSection:" and "CLFNtoSFN:".

#include <string>

#include "engine/path_tokens.h"
#include "probes/files/command_args.h"
#include "probes/files/file_commands.h"
#include "probes/files/text_lines.h"

namespace kavlo {

namespace {

// GetShortPathName's buffer holds 500 characters.
constexpr std::size_t kShortPathChars = 499;

std::string_view TrimLeadingSpace(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n\v\f");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

}  // namespace

void FileReadTextCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    if (!title) return;
    const std::string path = ExpandPathToken(engine.context(), call.argument);
    auto file = OpenTextFile(engine.machine(), path);
    if (!file) return;
    TextLineReader reader(*file);
    std::string out;
    while (auto text = reader.ReadLine()) {
        out += *text;
        out += '\n';
    }
    title->AppendText(out);
}

void FileReadTextSectionCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    TitleRecord* title = call.title;
    if (!title) return;
    const auto pathAndRest = SplitAtComma(call.argument);
    if (!pathAndRest) return;
    const auto markers = SplitAtComma(pathAndRest->second);
    if (!markers) return;
    const std::string_view endMarker = markers->first;
    const std::string_view startMarker = markers->second;
    // An empty start marker would be found in every line; it marks no section.
    if (startMarker.empty()) return;

    const std::string path = ExpandPathToken(engine.context(), pathAndRest->first);
    auto file = OpenTextFile(engine.machine(), path);
    if (!file) return;
    TextLineReader reader(*file);
    std::string out;
    bool inside = false;
    while (auto text = reader.ReadLine()) {
        text->push_back('\n');
        const std::string_view trimmed = TrimLeadingSpace(*text);
        if (!inside) {
            if (trimmed.find(startMarker) == std::string_view::npos) continue;
            inside = true;
        } else if (!endMarker.empty() && trimmed.starts_with(endMarker)) {
            // An empty end marker would end every section after its first line;
            // it is read as "no end marker": the section runs to the end of the file.
            inside = false;
            continue;
        }
        out += *text;
    }
    title->AppendText(out);
}

void CLFNtoSFNCommand(CommandCall& call) {
    ScriptEngine& engine = call.engine;
    const std::string_view argument = call.afterColon;
    TitleRecord* title = call.title;
    if (!title) return;
    const std::string path = ExpandPathToken(engine.context(), argument);
    auto shortPath = engine.machine().ShortPathName(path);
    std::string result;
    if (shortPath.ok()) {
        result = std::move(shortPath).value();
        if (result.size() > kShortPathChars) result.resize(kShortPathChars);
    } else {
        result = engine.machine().ErrorText(shortPath.error());
    }
    title->AppendText(path + "," + result + "\n");
}

}  // namespace kavlo
